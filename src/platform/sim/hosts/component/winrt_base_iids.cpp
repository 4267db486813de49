// Definitions of the Windows Runtime base interface identifiers the component
// hands out, which MinGW-w64's import libraries do not carry. Defined as
// "select any", so an import library that does carry them causes no clash.
#include <initguid.h>

#include <activation.h>
#include <inspectable.h>
