#pragma once

class QObject;

namespace toolkit {

// A component that finishes setting itself up once the window holding it is built: every
// component made and the stored state read, before the window's creation handler runs.
class LoadNotified {
public:
    virtual void Loaded() = 0;

protected:
    ~LoadNotified() = default;
};

// Tells the window's components, in the order they were made, that it has finished loading.
void notifyLoaded(QObject *window);

} // namespace toolkit
