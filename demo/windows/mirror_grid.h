#pragma once

#include <QList>
#include <QWidget>

class QLineEdit;
class ScreenMirror;

// The 40 light-green-on-black cells that draw a ScreenMirror. It reports clicks and typed keys by
// cell number and leaves what they mean to its window; the Tab key passes the cells by.
class MirrorGrid : public QWidget
{
    Q_OBJECT
public:
    explicit MirrorGrid(QWidget* parent = nullptr);

    void showMirror(const ScreenMirror& mirror);
    void focusCell(int index);
    QLineEdit* cellEdit(int index) const { return cells_[index - 1]; }

signals:
    void cellClicked(int index);
    // The key's text (one character) typed into cell `index`.
    void keyTyped(int index, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> cells_;
};
