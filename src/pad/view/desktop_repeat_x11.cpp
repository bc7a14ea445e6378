// The X server's key repeat, the one a held key of this desktop follows.
// Apart from the Qt that needs no X types: Xlib's macros (KeyPress, None)
// clash with Qt's names.
#include "pad/pad_keys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace plumix {

bool XServerKeyRepeat(KeyRepeat& repeat)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return false;
    }
    unsigned delay = 0;
    unsigned interval = 0;
    if (!XkbGetAutoRepeatRate(x11->display(), XkbUseCoreKbd, &delay, &interval)) {
        return false;
    }
    // Values no desktop offers are a broken answer.
    if (delay < 50 || delay > 5000 || interval < 2 || interval > 2000) {
        return false;
    }
    repeat.delayMs = static_cast<int>(delay);
    repeat.intervalMs = static_cast<int>(interval);
    return true;
}

} // namespace plumix
