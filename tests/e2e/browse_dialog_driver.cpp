// Opens the browse-for-folder dialog by itself, as the about box opens it, and prints what it
// gives when it closes. For the end-to-end run, which clicks the tree's rows: while the dialog
// is open, the file named by the first argument lists the rows on the screen, one a line,
// "text<TAB>x<TAB>y" at each row's centre.

#include "dialogs/browsedlg.h"
#include "toolkit/Fonts.h"
#include "toolkit/ErrorReport.h"

#include <QFile>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include <cstdio>

namespace {

void writeRows(const TDirTree *tree, const QString &fileName) {
    QByteArray rows;
    for (QTreeWidgetItemIterator it(const_cast<TDirTree *>(tree)); *it; ++it) {
        const QRect rect = tree->visualItemRect(*it);
        if (rect.isEmpty() || !tree->viewport()->rect().contains(rect.center()))
            continue;
        const QPoint centre = tree->viewport()->mapToGlobal(rect.center());
        rows += (*it)->text(0).toUtf8() + '\t' + QByteArray::number(centre.x()) + '\t' +
                QByteArray::number(centre.y()) + '\n';
    }
    QFile file(fileName + ".new");
    if (file.open(QIODevice::WriteOnly) && file.write(rows) == rows.size()) {
        file.close();
        QFile::remove(fileName);
        file.rename(fileName);
    }
}

} // namespace

int main(int argc, char **argv) {
    toolkit::Application application(argc, argv);
    QGuiApplication::setApplicationName("Gorbulax");
    toolkit::mapClassicFonts();
    const QString rowsFile = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    TBrowseForFolderDlg dialog;
    QTimer rows;
    QObject::connect(&rows, &QTimer::timeout, [&] { writeRows(dialog.DirTree, rowsFile); });
    if (!rowsFile.isEmpty())
        rows.start(100);
    const int result = dialog.exec();

    std::printf(
        "result=%s\nUpdaterFound=%d\nUpdaterPath=%s\nFoundText=%s\nFoundColor=%s\n",
        result == QDialog::Accepted ? "OK" : "Cancel", dialog.UpdaterFound ? 1 : 0,
        dialog.UpdaterPath.toLocal8Bit().constData(),
        dialog.StaticText2->text().toLocal8Bit().constData(),
        dialog.StaticText2->palette().color(QPalette::WindowText).name().toLocal8Bit().constData());
    return 0;
}
