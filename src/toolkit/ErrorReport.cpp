#include "toolkit/ErrorReport.h"

#include "toolkit/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace toolkit {

namespace {

ErrorReporter &currentReporter() {
    static ErrorReporter reporter;
    return reporter;
}

void showErrorBox(const QString &text) {
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QCoreApplication::applicationName();
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    plainButtons(box);
    box.exec();
}

} // namespace

void reportError(const QString &text) {
    if (const ErrorReporter &reporter = currentReporter())
        reporter(text);
    else
        showErrorBox(text);
}

void setErrorReporter(ErrorReporter reporter) {
    currentReporter() = std::move(reporter);
}

ErrorReporter errorReporter() {
    return currentReporter();
}

namespace {

// Called from inside a catch block: a report that itself fails must not take the program
// down, so its own exceptions end here.
void reportCaught(const QString &text) noexcept {
    try {
        reportError(text);
    } catch (...) {
    }
}

} // namespace

void guarded(const std::function<void()> &action) noexcept {
    try {
        if (action)
            action();
    } catch (const std::exception &e) {
        reportCaught(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportCaught(QStringLiteral("Unknown error"));
    }
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportCaught(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportCaught(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace toolkit
