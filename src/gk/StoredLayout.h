#pragma once

// A window keeps the binary properties of its components (the blocks of the libraries it
// holds) with its description: as files of one folder, usually among the program's resources,
// one file per property named "<component>.<property>" ("ImageLib1.Images") and holding the
// property's block. The window fills its components from the folder when it is created.

class QObject;
class QString;

namespace gk {

// Fills every named component below `window` whose binary (QByteArray) property has a file in
// `folder`; properties without one keep what they hold. A damaged block fails as the library's
// own read does, and a file that cannot be read raises gk::Error naming it.
void LoadStoredProperties(QObject &window, const QString &folder);

// Writes a file for every binary property that holds a value. An empty value (an empty
// library) is never stored: no file is written for it, and one left from before is removed.
void SaveStoredProperties(const QObject &window, const QString &folder);

} // namespace gk
