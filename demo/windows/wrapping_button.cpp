#include "demo/windows/wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kTextWidth = 190;
constexpr int kPadding = 8;
} // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QRect WrappingButton::textArea(const QRect& outer) const
{
    return outer.adjusted(kPadding, 3, -kPadding, -3);
}

QSize WrappingButton::sizeHint() const
{
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, kTextWidth, 1000), Qt::AlignCenter | Qt::TextWordWrap, text());
    const int lines = qMax(2, bounds.height() / qMax(1, fontMetrics().lineSpacing()));
    return QSize(kTextWidth + 2 * kPadding, lines * fontMetrics().lineSpacing() + 14);
}

void WrappingButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textArea(rect()), Qt::AlignCenter | Qt::TextWordWrap, caption);
}
