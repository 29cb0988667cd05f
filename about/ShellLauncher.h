#pragma once

#include <QtGlobal>

class QString;

// Opens an address with the program the desktop associates with it: the web
// browser for a web address, the mail program for a "mailto:" one.
class ShellLauncher
{
public:
    // Hands the address to xdg-open, the desktop's own opener, and returns
    // its process id at once, without waiting for the browser or mail
    // program. Throws Failure when the opener cannot be started at all;
    // what it then makes of the address is its own affair.
    static qint32 open(const QString &address);
};
