// The host callbacks registered with the driver; they answer from Session::Current().
#pragma once

#include <string>

#include "targodll.h"

namespace host {

int TARGO_CALL OnBreakQuery(int hostContext, int opContext);
int TARGO_CALL OnParameterValue(int hostContext, int opContext, const char* name, char* value);
int TARGO_CALL OnOperationInfo(int hostContext, int opContext, int* value1, int* value2,
                               char* text1, char* text2, char* exchangeDir);
int TARGO_CALL OnAddMessage(int hostContext, int opContext, int kind, const char* text);
int TARGO_CALL OnReplaceMessage(int hostContext, int opContext, int kind, const char* text);
int TARGO_CALL OnListItem(int hostContext, int opContext, int index, char* item);
int TARGO_CALL OnSaveResult(int hostContext, int opContext);
int TARGO_CALL OnLanguage(char* buffer, int size, const char* module, const char* key);

// Copies `text` into a driver buffer of `size` bytes: at most size - 1 bytes, always
// terminated.
void CopyOut(const std::string& text, char* buffer, int size);

}  // namespace host
