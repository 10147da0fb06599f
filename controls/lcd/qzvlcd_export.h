#pragma once
// Marks the classes and functions libqzvlcdisp exports; the library is built with
// hidden symbols, so everything not marked stays inside it.
#include <QtGlobal>

#ifdef qzvlcdisp_EXPORTS
#define QZVLCD_EXPORT Q_DECL_EXPORT
#else
#define QZVLCD_EXPORT Q_DECL_IMPORT
#endif
