#pragma once
// Message texts of the datasets (identifiers 1300 to 1399), read through LoadResString so
// that they pass through the translator.
#include "dac/DACConsts.h"

DECLARE_RESOURCESTRING(SUnsupportedFeature);
DECLARE_RESOURCESTRING(SColumnNamePrefix);
DECLARE_RESOURCESTRING(SUnsupportedDataType);
DECLARE_RESOURCESTRING(SUniDirectionalDataSet);
DECLARE_RESOURCESTRING(SDataSetNoConnection);
DECLARE_RESOURCESTRING(SBlobFieldReadOnly);
DECLARE_RESOURCESTRING(SBlobNotEditing);
DECLARE_RESOURCESTRING(SNoUpdateQuery);
DECLARE_RESOURCESTRING(SNoInsertQuery);
DECLARE_RESOURCESTRING(SNoDeleteQuery);
DECLARE_RESOURCESTRING(SDeletedRecordReadOnly);
DECLARE_RESOURCESTRING(SNotCachedUpdates);
DECLARE_RESOURCESTRING(SErrorMappingFailed);
