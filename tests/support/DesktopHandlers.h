#pragma once

// The desktop's handlers for addresses, a set of a test's own: the folders the desktop reads
// its defaults and its programs' desktop files from point into a temporary folder, which holds
// no handler until `add` registers one; no desktop session and no BROWSER are named.

#include "support/Env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DesktopHandlers {
public:
    DesktopHandlers()
        : configHome_("XDG_CONFIG_HOME", path("config")),
          configDirs_("XDG_CONFIG_DIRS", path("etc")), dataHome_("XDG_DATA_HOME", path("data")),
          dataDirs_("XDG_DATA_DIRS", path("usr")), browser_("BROWSER", {}),
          desktop_("XDG_CURRENT_DESKTOP", {}), session_("DESKTOP_SESSION", {}),
          kde_("KDE_FULL_SESSION", {}), gnome_("GNOME_DESKTOP_SESSION_ID", {}) {
        QDir().mkpath(dir_.filePath("config"));
        QDir().mkpath(dir_.filePath("data/applications"));
    }

    // Makes `program` the desktop's handler of addresses of `scheme`.
    void add(const QString &scheme, const QString &program) {
        const QString name = "recorder-" + scheme + ".desktop";
        write("data/applications/" + name,
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + program +
                  " %u\nMimeType=x-scheme-handler/" + scheme + ";\n");
        entries_ += "x-scheme-handler/" + scheme + "=" + name + "\n";
        write("config/mimeapps.list", "[Default Applications]\n" + entries_);
    }

private:
    QByteArray path(const char *name) const { return QFile::encodeName(dir_.filePath(name)); }
    void write(const QString &name, const QString &text) {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toLocal8Bit());
    }

    QTemporaryDir dir_;
    ScopedEnv configHome_, configDirs_, dataHome_, dataDirs_, browser_, desktop_, session_, kde_,
        gnome_;
    QString entries_;
};
