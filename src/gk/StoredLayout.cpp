#include "gk/StoredLayout.h"

#include "gk/Error.h"
#include "gk/Streams.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QObject>
#include <QSaveFile>

#include <functional>

namespace gk {

namespace {

// Calls `visit` with every named component below `window` and each of its own binary
// properties (those its class declares, not QObject's) that can be read and written.
void forEachBinaryProperty(const QObject &window,
                           const std::function<void(QObject &, const QMetaProperty &)> &visit) {
    for (QObject *component : window.findChildren<QObject *>()) {
        if (component->objectName().isEmpty())
            continue;
        const QMetaObject *meta = component->metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (property.metaType().id() == QMetaType::QByteArray && property.isReadable() &&
                property.isWritable())
                visit(*component, property);
        }
    }
}

QString fileFor(const QString &folder, const QObject &component, const QMetaProperty &property) {
    return QDir(folder).filePath(component.objectName() + '.' + property.name());
}

} // namespace

void LoadStoredProperties(QObject &window, const QString &folder) {
    forEachBinaryProperty(window, [&](QObject &component, const QMetaProperty &property) {
        const QString path = fileFor(folder, component, property);
        if (!QFile::exists(path))
            return;
        QFile file;
        OpenForReading(file, path);
        const QByteArray block = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw Error("Cannot read \"" + path.toStdString() + "\". " +
                        file.errorString().toStdString());
        property.write(&component, block);
    });
}

void SaveStoredProperties(const QObject &window, const QString &folder) {
    forEachBinaryProperty(window, [&](QObject &component, const QMetaProperty &property) {
        const QString path = fileFor(folder, component, property);
        const QByteArray block = property.read(&component).toByteArray();
        if (block.isEmpty()) {
            QFile::remove(path);
            return;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(block) != block.size() || !file.commit())
            throw Error("Cannot write \"" + path.toStdString() + "\". " +
                        file.errorString().toStdString());
    });
}

} // namespace gk
