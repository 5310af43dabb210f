#pragma once

#include <QString>

// The matrix ID rule that the window and matrixctl share: a whole number
// from 0 to Max in decimal digits only; 0 addresses every matrix.
class MatrixId
{
public:
    static constexpr int Max = 999;

    static bool read(const QString &text, int *id);
};
