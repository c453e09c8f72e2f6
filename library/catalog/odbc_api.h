// The unixODBC headers, made to live beside the platform's Windows types.
// Include this instead of <sql.h>/<sqlext.h> in any file that also sees
// platform/com/wintypes.h: unixODBC would otherwise define BOOL, HWND, WCHAR,
// ULONG and HINSTANCE its own way. With ALREADY_HAVE_WINDOWS_TYPE it leaves
// them to us and expects the few older names below, which carry unixODBC's
// own 64-bit Linux widths (long is 64 bits, the ODBC 32-bit types are int).
#pragma once

#include "platform/com/wintypes.h"

#ifndef ALREADY_HAVE_WINDOWS_TYPE
#define ALREADY_HAVE_WINDOWS_TYPE 1
#ifndef FAR
#define FAR
#endif
#ifndef CALLBACK
#define CALLBACK
#endif
#ifndef SQL_API
#define SQL_API
#endif
typedef unsigned char UCHAR;
typedef signed char SCHAR;
typedef SCHAR SQLSCHAR;
typedef int SDWORD;
typedef unsigned int UDWORD;
typedef signed short int SWORD;
typedef unsigned short int UWORD;
typedef signed long SLONG;
typedef signed short SSHORT;
typedef double SDOUBLE;
typedef double LDOUBLE;
typedef float SFLOAT;
typedef void* PTR;
typedef signed short RETCODE;
typedef void* SQLHWND;
#endif

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

static_assert(sizeof(SQLINTEGER) == 4 && sizeof(SQLUINTEGER) == 4, "ODBC 32-bit types");
static_assert(sizeof(SQLLEN) == sizeof(void*), "ODBC length type is pointer-sized");
