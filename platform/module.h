#pragma once

// Parts of the program that need big libraries of their own (the remote's network, the sound
// system) are modules loaded at their first use, so a program that never uses them never maps
// those libraries. A module takes the program's own code from the executable.

#include <QLibrary>
#include <QString>
#include <QStringList>

// Where the module file `fileName` is looked for, in this order: beside the executable (the
// build folder, a copied program), then in the library folder of an installed program.
QStringList modulePaths(const QString& fileName);

// Loads `module` from the first of `paths` that exists and returns its entry point `entry`;
// nullptr when that fails, with the reason, one line, in `reason`. Every symbol is bound at
// loading, so a module that does not fit the program fails here and not at its first call.
QFunctionPointer loadModule(QLibrary& module, const QStringList& paths, const char* entry,
                            QString& reason);
