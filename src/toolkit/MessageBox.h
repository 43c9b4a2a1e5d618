#pragma once

#include <QString>

#include <functional>

class QMessageBox;

namespace toolkit {

// Takes off a box's buttons the stock icons some desktops' styles give them, which clash with
// the game's own glyphs: the game's boxes have plain buttons.
void plainButtons(QMessageBox &box);

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

// The questions the windows ask the player: modal, with the question icon and the buttons Yes
// and No, one of them the default that Enter presses. Esc and the title bar answer No.
enum class Answer { Yes, No };

struct Question {
    QString text;
    QString caption;
    Answer defaultAnswer = Answer::Yes;
};

// Asks `question` and waits for the answer.
Answer AskQuestion(const Question &question);
// A question of the game's: caption "Gorbulax".
Answer AskGameQuestion(const QString &text, Answer defaultAnswer);

// Where the questions go instead of the screen, until an empty handler brings the screen back.
// Tests answer them here.
using QuestionHandler = std::function<Answer(const Question &question)>;
void setQuestionHandler(QuestionHandler handler);

} // namespace toolkit
