#ifndef TOOLINFO_H
#define TOOLINFO_H

#include <QString>

// What a helper asks first: the tool's version and program, the Qt it was built with and runs
// on, the zip library, and the operating system, as lines of text.
namespace toolinfo
{
QString text();
} // namespace toolinfo

#endif // TOOLINFO_H
