#pragma once
// Keeps the GL drivers that are loaded now (Mesa's "*_dri.so") loaded until
// the process ends. The application's tear-down unloads them before the leak
// check at exit runs; what their global data still points to would then look
// leaked, with stacks that name a wrong module (theirs is gone). Call it after
// the tests ran, while the application still exists.
#include <dlfcn.h>

#include <QByteArray>
#include <QFile>

inline void keepGlDriversLoaded() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly)) return;
  for (const QByteArray& line : maps.readAll().split('\n')) {
    const qsizetype slash = line.indexOf('/');
    if (slash < 0 || !line.endsWith("_dri.so")) continue;
    // RTLD_NOLOAD: only marks a module that is already there.
    if (void* handle =
            ::dlopen(line.mid(slash).constData(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE)) {
      ::dlclose(handle);
    }
  }
}
