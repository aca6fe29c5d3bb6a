#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace visemer {

// The frames a project file or a script is written from: the editor's
// sequencer, walked row by row, or a timing the tool holds. The writers
// ask for one column at a time, each in row order, as the files hold them.
class RowSource {
public:
    enum class Column { Label, Delay };

    virtual ~RowSource() = default;
    virtual std::int64_t rows() const = 0;
    // Hands over each row's cell of the column, row 0 first.
    virtual void
    eachCell(Column column,
             const std::function<void(std::int64_t row, const std::string&)>& visit) = 0;
};

} // namespace visemer
