#include "dac/ODBCDatasetConsts.h"

DEFINE_RESOURCESTRING(SUnsupportedFeature, 1300, "Unsupported feature");
DEFINE_RESOURCESTRING(SColumnNamePrefix, 1301, "COLUMN");
DEFINE_RESOURCESTRING(SUnsupportedDataType, 1302, "Unsupported data type %s");
DEFINE_RESOURCESTRING(SUniDirectionalDataSet, 1303,
                      "Operation not allowed on a unidirectional dataset");
DEFINE_RESOURCESTRING(SDataSetNoConnection, 1304, "Connection property not assigned");
DEFINE_RESOURCESTRING(SBlobFieldReadOnly, 1305, "Field '%s' cannot be modified");
DEFINE_RESOURCESTRING(SBlobNotEditing, 1306, "Dataset not in edit or insert mode");
DEFINE_RESOURCESTRING(SNoUpdateQuery, 1307, "Cannot update. (No update query)");
DEFINE_RESOURCESTRING(SNoInsertQuery, 1308, "Cannot insert into dataset. (No insert query)");
DEFINE_RESOURCESTRING(SNoDeleteQuery, 1309, "Cannot delete from dataset. (No delete query)");
DEFINE_RESOURCESTRING(SDeletedRecordReadOnly, 1310, "Cannot modify deleted record");
DEFINE_RESOURCESTRING(SNotCachedUpdates, 1311, "Not in cached update mode");
DEFINE_RESOURCESTRING(SErrorMappingFailed, 1312, "Error mapping failed");
