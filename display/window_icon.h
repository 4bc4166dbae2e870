#pragma once

#include <QIcon>

namespace quolvet {

// The program's own mark, for the window's title bar and task switcher.
QIcon quolvetWindowIcon();

}  // namespace quolvet
