#pragma once

// A library a component owns together with the file it last came from. The sound and image
// components load and reload through it, so that both mean the same by a load: the name is
// forgotten first and recorded again only when the read succeeds, and after a failed read
// there is nothing to reload. The playback side and the display drop data they can read
// again from that file.

#include "gk/Error.h"

#include <QString>

namespace gk {

template <typename Library> class FileBackedLibrary {
public:
    Library &library() { return FLibrary; }
    const Library &library() const { return FLibrary; }

    // Reads the named file through the library's LoadFromFile.
    void load(const QString &name) {
        FFileName.clear();
        FLibrary.LoadFromFile(name);
        FFileName = name;
    }
    // The file to read again; "LoadFromFile must be called first" when none is recorded.
    QString nameToReload() const {
        if (FFileName.isEmpty())
            throw Error("LoadFromFile must be called first");
        return FFileName;
    }
    void reload() { load(nameToReload()); }

    // A library set from elsewhere, which the file no longer describes: its name is forgotten
    // first, so that nothing reads the file over what is set.
    void assign(const Library &library) {
        FFileName.clear();
        FLibrary.Assign(library);
    }
    // For a library changed in place, as from a stored block.
    void forgetFileName() { FFileName.clear(); }
    const QString &fileName() const { return FFileName; }
    bool hasFileName() const { return !FFileName.isEmpty(); }

private:
    Library FLibrary;
    QString FFileName;
};

} // namespace gk
