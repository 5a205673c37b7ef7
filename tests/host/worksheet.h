// The host's worksheet: cells addressed by row and column and the Range object through which the
// smart tag's verb reaches them, late-bound as in the spreadsheet: Offset(rows, columns) gives
// another cell, Value2 puts or gets a cell's value.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <map>
#include <string>
#include <utility>

namespace vistrel::host {

class Worksheet {
public:
    // Rows and columns count from 1: C5 is row 5, column 3.
    void Put(int row, int column, std::wstring value) { cells_[{row, column}] = std::move(value); }
    std::wstring Value(int row, int column) const;

    // A new Range object for one cell, with one reference for the caller.
    IDispatch* Range(int row, int column);

    // "C5" for row 5, column 3.
    static std::wstring CellName(int row, int column);

private:
    std::map<std::pair<int, int>, std::wstring> cells_;
};

}  // namespace vistrel::host
