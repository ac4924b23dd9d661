#pragma once

#include <QString>

// The directory that holds the program file, without a separator at its end. Tests point it at a
// temporary directory of their own.
class ProgramDirectory
{
public:
    static QString path();
    // Replaces the reported directory; an empty text goes back to the real one.
    static void override(const QString &directory);
};
