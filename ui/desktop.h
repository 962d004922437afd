#pragma once
// The window's only ways out to the desktop: a message box, a web address
// handed to the browser, the clipboard and the file dialogs. Tests put an observer in place of the real desktop.

class QString;
class QWidget;

namespace ambrelay {

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal message with a single OK button and waits until the user
    // dismisses it.
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;

    // Asks the desktop to open a web address (or a local file's address) in
    // the user's browser; does not wait. False when the desktop could not
    // hand it to any program.
    virtual bool OpenAddress(QWidget* owner, const QString& address) = 0;

    // Where the help page installed with the program lies, as a file address;
    // empty when it is not there.
    virtual QString InstalledHelpPage() const = 0;

    // Puts plain text on the clipboard.
    virtual void CopyText(const QString& text) = 0;

    // Puts one text on the clipboard in two forms: plain, and HTML for the
    // programs that paste rich text.
    virtual void CopyRichText(const QString& plain, const QString& html) = 0;

    // Asks the user where to save a file, offering `suggested`; empty when
    // they cancel. A name typed without a suffix gets the chosen filter's.
    virtual QString SaveFile(QWidget* owner, const QString& title, const QString& suggested,
                             const QString& filter) = 0;

    // Asks the user for a file to open; empty when they cancel.
    virtual QString ChooseFile(QWidget* owner, const QString& title, const QString& filter) = 0;
};

}  // namespace ambrelay
