#include "demo/emulator_views/receipt_strip_view.h"

#include "demo/emulators/receipt_strip.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kCharacterWidth = 7;
constexpr int kLineHeight = 14;
constexpr int kEdge = 10;

QFont printFont(const ReceiptStrip::Run& run)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(12);
    font.setBold(run.bold());
    font.setUnderline(run.underline());
    return font;
}

int lineScale(const ReceiptStrip::Line& line)
{
    for (const ReceiptStrip::Run& run : line) {
        if (run.doubleHeight()) {
            return 2;
        }
    }
    return 1;
}

} // namespace

ReceiptStripView::ReceiptStripView(const ReceiptStrip& strip, QWidget* parent)
    : QWidget(parent), strip_(strip)
{
}

QSize ReceiptStripView::sizeHint() const
{
    return {2 * kEdge + ReceiptStrip::kPaperColumns * kCharacterWidth + 8, 220};
}

void ReceiptStripView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect paper(4, 0, ReceiptStrip::kPaperColumns * kCharacterWidth + 2 * kEdge, height() - 4);
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 40));
    painter.fillRect(paper, QColor(252, 250, 242));
    painter.setClipRect(paper);
    painter.setPen(QColor(30, 30, 34));
    // From the tear-off edge upwards, newest first, until the paper shown is full.
    int bottom = paper.bottom() - kEdge;
    const QList<ReceiptStrip::Line>& lines = strip_.lines();
    for (int i = int(lines.size()) - 1; i >= 0 && bottom > 0; --i) {
        const int scaleY = lineScale(lines[i]);
        const int top = bottom - kLineHeight * scaleY;
        int x = paper.left() + kEdge;
        for (const ReceiptStrip::Run& run : lines[i]) {
            const int scaleX = run.doubleWidth() ? 2 : 1;
            painter.save();
            painter.translate(x, top);
            painter.scale(scaleX, scaleY);
            painter.setFont(printFont(run));
            for (int c = 0; c < run.text.size(); ++c) {
                painter.drawText(QRect(c * kCharacterWidth, 0, kCharacterWidth, kLineHeight), Qt::AlignCenter,
                                 run.text.mid(c, 1));
            }
            painter.restore();
            x += int(run.text.size()) * kCharacterWidth * scaleX;
        }
        bottom = top;
    }
    painter.setClipping(false);
    // The serrated edge the strip was torn along.
    painter.setPen(QPen(QColor(190, 186, 176), 1, Qt::DashLine));
    painter.drawLine(paper.left(), paper.bottom() - 2, paper.right(), paper.bottom() - 2);
}
