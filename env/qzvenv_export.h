#pragma once
// Marks the classes and functions libqzvenv exports; the library is built with
// hidden symbols, so everything not marked stays inside it.
#include <QtGlobal>

#ifdef qzvenv_EXPORTS
#define QZVENV_EXPORT Q_DECL_EXPORT
#else
#define QZVENV_EXPORT Q_DECL_IMPORT
#endif
