#pragma once

#include <QString>
#include <optional>

class QWidget;

// How the windows ask the person something and tell them something. Tests hand in a scripted one.
class DemoDialogs
{
public:
    enum Icon { NoIcon, Information, Warning, Critical };

    virtual ~DemoDialogs() = default;
    // A modal input box showing the default reply selected; nothing when the person cancels.
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                                           const QString& defaultReply) = 0;
    virtual void showMessage(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;
};

// Qt's input and message boxes.
class QtDialogs : public DemoDialogs
{
public:
    std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                                   const QString& defaultReply) override;
    void showMessage(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
};

// The title the input boxes carry.
inline QString DemoProgramTitle()
{
    return QStringLiteral("vfddemo");
}
