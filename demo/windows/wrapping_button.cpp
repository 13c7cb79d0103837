#include "windows/wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int TextWidth = 190;
constexpr int Padding = 8;
} // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QRect WrappingButton::textArea(const QRect& outer) const
{
    return outer.adjusted(Padding, 3, -Padding, -3);
}

QSize WrappingButton::sizeHint() const
{
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, TextWidth, 1000), Qt::AlignCenter | Qt::TextWordWrap, text());
    const int lines = qMax(2, bounds.height() / qMax(1, fontMetrics().lineSpacing()));
    return QSize(TextWidth + 2 * Padding, lines * fontMetrics().lineSpacing() + 14);
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
