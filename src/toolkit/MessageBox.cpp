#include "toolkit/MessageBox.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>

namespace toolkit {

namespace {

MessageHandler &currentHandler() {
    static MessageHandler handler;
    return handler;
}

QuestionHandler &currentQuestionHandler() {
    static QuestionHandler handler;
    return handler;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void plainButtons(QMessageBox &box) {
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
}

void ShowMessageBox(const Message &message) {
    if (const MessageHandler &handler = currentHandler()) {
        handler(message);
        return;
    }
    QMessageBox box(boxIcon(message.icon), message.caption, message.text, QMessageBox::Ok);
    plainButtons(box);
    box.exec();
}

void ShowMessage(const QString &text) {
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QCoreApplication::applicationName();
    ShowMessageBox({text, title, MessageIcon::None});
}

void ShowErrorMessage(const QString &text) {
    ShowMessageBox({text, QStringLiteral("Gorbulax"), MessageIcon::Error});
}

void setMessageHandler(MessageHandler handler) {
    currentHandler() = std::move(handler);
}

Answer AskQuestion(const Question &question) {
    if (const QuestionHandler &handler = currentQuestionHandler())
        return handler(question);
    QMessageBox box(QMessageBox::Question, question.caption, question.text,
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(question.defaultAnswer == Answer::Yes ? QMessageBox::Yes
                                                               : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    plainButtons(box);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer AskGameQuestion(const QString &text, Answer defaultAnswer) {
    return AskQuestion({text, QStringLiteral("Gorbulax"), defaultAnswer});
}

void setQuestionHandler(QuestionHandler handler) {
    currentQuestionHandler() = std::move(handler);
}

} // namespace toolkit
