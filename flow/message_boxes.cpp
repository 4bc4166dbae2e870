#include "message_boxes.h"

#include <QMessageBox>

namespace quolvet {

void QtMessageBoxes::show(const QString& text, const QString& title, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    parent_);
    box.exec();
}

}  // namespace quolvet
