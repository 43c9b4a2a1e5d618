#pragma once

#include <QString>

#include <functional>

namespace toolkit {

// The message boxes the windows show the player: modal, with an OK button.
enum class MessageIcon { None, Error, Information };

struct Message {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
};

// Shows `text` under `caption` with `icon` and waits for OK.
void ShowMessageBox(const Message &message);
// The toolkit's simple message box: the application's title as caption, no icon.
void ShowMessage(const QString &text);
// A failure the player must know of: caption "Gorbulax" and the error icon.
void ShowErrorMessage(const QString &text);

// Where the boxes go instead of the screen, until an empty handler brings the screen back.
// Tests record them here.
using MessageHandler = std::function<void(const Message &message)>;
void setMessageHandler(MessageHandler handler);

} // namespace toolkit
