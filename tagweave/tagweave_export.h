#pragma once
// Marks the classes and functions libtagweave exports; the library is built with
// hidden symbols, so everything not marked stays inside it.
#include <QtGlobal>

#ifdef tagweave_EXPORTS
#define TAGWEAVE_EXPORT Q_DECL_EXPORT
#else
#define TAGWEAVE_EXPORT Q_DECL_IMPORT
#endif
