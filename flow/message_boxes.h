#pragma once

#include <QString>

class QWidget;

namespace quolvet {

// The seam through which the game shows its modal message boxes (OK button only), so whole
// games can run in tests with the boxes recorded instead of shown.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const QString& text, const QString& title, bool warning) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const QString& text, const QString& title, bool warning) override;

private:
    QWidget* parent_ = nullptr;
};

}  // namespace quolvet
