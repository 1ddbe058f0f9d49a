#ifndef RESULTCOLUMNS_H
#define RESULTCOLUMNS_H

// The columns of the results table, in their order; the project file stores a row's cells in the
// same order.
enum class ResultColumn {
    Name,    // "TK3"
    NoTouch, // no-touch mean
    Touch,   // touch mean
    Water,   // waterproof mean
    Channel, // channel index
    Key,     // key number
};

constexpr int kResultColumnCount = 6;

constexpr int columnOf(ResultColumn column) { return static_cast<int>(column); }

#endif // RESULTCOLUMNS_H
