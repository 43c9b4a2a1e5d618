#pragma once

// The message boxes and questions of one test: recorded, and the questions answered from a
// script, instead of failing on them as every other test does.

#include "toolkit/MessageBox.h"

#include <QList>
#include <gtest/gtest.h>

class Messages {
public:
    explicit Messages(QList<toolkit::Answer> answers = {}) : answers(std::move(answers)) {
        toolkit::setMessageHandler([this](const toolkit::Message &m) { shown << m; });
        toolkit::setQuestionHandler([this](const toolkit::Question &q) {
            asked << q;
            if (this->answers.isEmpty()) {
                ADD_FAILURE() << "a question more than answered: " << q.text.toStdString();
                return toolkit::Answer::No;
            }
            return this->answers.takeFirst();
        });
    }
    ~Messages() {
        toolkit::setMessageHandler([](const toolkit::Message &m) {
            ADD_FAILURE() << "unexpected message box: " << m.text.toStdString();
        });
        toolkit::setQuestionHandler([](const toolkit::Question &q) {
            ADD_FAILURE() << "unexpected question: " << q.text.toStdString();
            return toolkit::Answer::No;
        });
    }
    Messages(const Messages &) = delete;
    Messages &operator=(const Messages &) = delete;

    QList<toolkit::Message> shown;
    QList<toolkit::Question> asked;
    QList<toolkit::Answer> answers; // still to give
};
