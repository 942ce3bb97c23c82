#pragma once
// Asks the driver for the parameter types of a prepared statement and retypes the parameters.
#include <sql.h>

#include <cstddef>
#include <functional>
#include <span>

namespace dac {

class TODBCConnection;
class TODBCParam;

// Does nothing without a statement handle or connection, or when the driver cannot describe
// parameters. Raises std::runtime_error "Error ..." when there are more parameters than
// markers, EODBCError when SQLNumParams fails.
void DescribeParams(TODBCConnection* connection, SQLHSTMT statement,
                    std::span<TODBCParam* const> params);
// The same over any collection: count items, item(i) for i in [0, count).
void DescribeParams(TODBCConnection* connection, SQLHSTMT statement, size_t count,
                    const std::function<TODBCParam&(size_t)>& item);

}  // namespace dac
