#include "toolkit/Loading.h"

#include <QObject>

namespace toolkit {

void notifyLoaded(QObject *window) {
    // Copied: a component may add objects to the window while it loads.
    const QObjectList components = window->children();
    for (QObject *component : components) {
        if (auto *loading = dynamic_cast<LoadNotified *>(component))
            loading->Loaded();
    }
}

} // namespace toolkit
