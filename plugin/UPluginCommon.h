#pragma once
// The records exchanged with the host. Packed: on x86-64 each pointer takes 8 bytes, so the
// offsets after a pointer move by 4 against the 32-bit layout.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct TPluginInfo {
  const char* PluginCode;
  const char* DisplayTitle;
  int32_t Number;
  int32_t Extra1;
  uint8_t ExtraFlag;
  int32_t Extra2;
};

struct TPluginExecParams {
  int32_t Action;
  const char* ConnectionParams;
  int32_t HostValue;
  int32_t SiteCode;
  uint8_t Reserved[24];
  uint8_t HostFlag;
};
#pragma pack(pop)

static_assert(offsetof(TPluginInfo, PluginCode) == 0);
static_assert(offsetof(TPluginInfo, DisplayTitle) == 8);
static_assert(offsetof(TPluginInfo, Number) == 16);
static_assert(offsetof(TPluginInfo, Extra1) == 20);
static_assert(offsetof(TPluginInfo, ExtraFlag) == 24);
static_assert(offsetof(TPluginInfo, Extra2) == 25);
static_assert(sizeof(TPluginInfo) == 29);

static_assert(offsetof(TPluginExecParams, Action) == 0);
static_assert(offsetof(TPluginExecParams, ConnectionParams) == 4);
static_assert(offsetof(TPluginExecParams, HostValue) == 12);
static_assert(offsetof(TPluginExecParams, SiteCode) == 16);
static_assert(offsetof(TPluginExecParams, HostFlag) == 44);
static_assert(sizeof(TPluginExecParams) == 45);

// The exports, as a host looks them up.
extern "C" {
using TPluginGetInfoProc = int32_t (*)(TPluginInfo** info);
using TPluginExecuteProc = int32_t (*)(TPluginExecParams* params);
using TPluginRunInBackgroundProc = int32_t (*)();
}

// Actions of TPluginExecParams.
constexpr int32_t kPluginActionRun = 0;
constexpr int32_t kPluginActionConfigure = 2;
