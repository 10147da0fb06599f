#pragma once
// Marks the classes and functions libqzvpeak exports; the library is built with
// hidden symbols, so everything not marked stays inside it.
#include <QtGlobal>

#ifdef qzvpeak_EXPORTS
#define QZVPEAK_EXPORT Q_DECL_EXPORT
#else
#define QZVPEAK_EXPORT Q_DECL_IMPORT
#endif
