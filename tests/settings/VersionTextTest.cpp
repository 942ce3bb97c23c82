#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "settings/ElfVersionReader.h"
#include "settings/ModulePath.h"
#include "settings/VersionText.h"
#include "tests/settings/SettingsTestSupport.h"

namespace {

using namespace settings;
namespace fs = std::filesystem;

std::string ExePath() { return fs::read_symlink("/proc/self/exe").string(); }

// The probe module, loaded once: its answers come from the settings code linked into it.
class ProbeModuleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    handle_ = dlopen(MORVEL_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    answer_ = reinterpret_cast<AnswerFn>(dlsym(handle_, "ProbeAnswer"));
    ASSERT_NE(answer_, nullptr);
  }
  static void TearDownTestSuite() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
  }
  static std::string Ask(int what) {
    char buffer[4096];
    int length = answer_(what, buffer, sizeof buffer);
    return length < 0 ? "<too long>" : std::string(buffer, static_cast<std::size_t>(length));
  }

  using AnswerFn = int (*)(int, char*, int);
  static inline void* handle_ = nullptr;
  static inline AnswerFn answer_ = nullptr;
};

TEST_F(ProbeModuleTest, ModulePathIsThePluginsOwnFileNotTheHosts) {
  std::string path = Ask(0);
  EXPECT_EQ(path, fs::absolute(MORVEL_PROBE_MODULE).lexically_normal().string());
  EXPECT_NE(path, ExePath());
}

TEST_F(ProbeModuleTest, OwnVersionIsTheStampedFileVersion) { EXPECT_EQ(Ask(1), "2.1.0.15"); }

TEST_F(ProbeModuleTest, SettingsFilesAreNamedAfterTheModule) {
  std::string folder = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tabrel Store UX/";
  EXPECT_EQ(Ask(2), folder + "morvel_probe.ini");
  EXPECT_EQ(Ask(3), folder + "morvel_probe_browser.xml");
  EXPECT_TRUE(fs::is_directory(folder));
}

TEST(ModulePathTest, InAProgramItIsTheProgramsFile) { EXPECT_EQ(GetModulePath("x"), ExePath()); }

struct TVersionCase {
  const char* name;
  std::string fileName;
  std::string expected;
};

void PrintTo(const TVersionCase& c, std::ostream* os) { *os << c.name; }

class VersionTextTest : public testing::TestWithParam<TVersionCase> {};

TEST_P(VersionTextTest, ReadsTheFileVersionOnly) {
  EXPECT_EQ(GetVersionText(GetParam().fileName), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VersionTextTest,
    testing::Values(
        // the probe's product version is 9.8.7.6
        TVersionCase{"StampedModule", MORVEL_PROBE_MODULE, "2.1.0.15"},
        TVersionCase{"BlanksAroundTheName", std::string("  ") + MORVEL_PROBE_MODULE + " ", "2.1.0.15"},
        TVersionCase{"ProjectVersionStamp", MORVEL_DEFAULT_STAMP_MODULE, MORVEL_PROJECT_VERSION},
        TVersionCase{"ElfWithoutStamp", "/proc/self/exe", ""},
        TVersionCase{"BlankNameMeansThisModule", "   ", ""},
        TVersionCase{"MissingFile", "/nonexistent/morvel.so", ""},
        TVersionCase{"Folder", "/", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Damaged copies of the stamped module: the reader must neither crash nor invent a version.
struct TDamageCase {
  const char* name;
  std::size_t keepBytes;                 // 0: keep the whole file
  std::size_t patchAt;                   // where to write patch (when not empty)
  std::string patch;
  const char* expected;
};

void PrintTo(const TDamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedElfTest : public testing::TestWithParam<TDamageCase> {};

TEST_P(DamagedElfTest, NeverCrashesNorInventsAVersion) {
  std::string image = settingstest::ReadFile(MORVEL_PROBE_MODULE);
  if (GetParam().keepBytes) image.resize(GetParam().keepBytes);
  if (!GetParam().patch.empty()) image.replace(GetParam().patchAt, GetParam().patch.size(), GetParam().patch);
  std::string path = settingstest::NewFolder("elf") + "/damaged.so";
  settingstest::WriteFile(path, image);
  EXPECT_EQ(GetVersionText(path), GetParam().expected);
}

const std::string kHugeOffset(8, '\xff');

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedElfTest,
    testing::Values(
        TDamageCase{"HeaderOnly", 64, 0, "", ""},
        TDamageCase{"NotElf", 0, 0, "\x7f" "ELX", ""},
        TDamageCase{"UnknownClass", 0, 4, "\x07", ""},
        // section table out of the file: the note segment still carries the stamp
        TDamageCase{"SectionTableGone", 0, 0x28, kHugeOffset, "2.1.0.15"},
        TDamageCase{"BothTablesGone", 0, 0x20, kHugeOffset + kHugeOffset, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Builds a 32-bit big-endian ELF image whose one note section holds the given words.
std::string BigEndianElf32(const std::string& owner, std::uint32_t type, const std::uint32_t (&words)[4]) {
  auto be = [](std::string& out, std::uint64_t value, int size) {
    for (int i = size - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  std::string image = "\x7f" "ELF";
  image += std::string("\x01\x02\x01", 3);  // 32-bit, big-endian, version 1
  image.resize(0x1C, '\0');
  be(image, 0, 4);      // e_phoff
  be(image, 52, 4);     // e_shoff
  image.resize(0x2E, '\0');
  be(image, 40, 2);     // e_shentsize
  be(image, 1, 2);      // e_shnum
  image.resize(52, '\0');
  std::string note;
  be(note, owner.size() + 1, 4);
  be(note, 16, 4);
  be(note, type, 4);
  note += owner;
  note.resize(12 + (owner.size() + 4) / 4 * 4, '\0');
  for (std::uint32_t word : words) be(note, word, 4);
  std::string section;
  be(section, 0, 4);
  be(section, 7, 4);    // SHT_NOTE
  be(section, 0, 4);
  be(section, 0, 4);
  be(section, 92, 4);   // offset
  be(section, note.size(), 4);
  be(section, 0, 4);
  be(section, 0, 4);
  be(section, 4, 4);    // alignment
  be(section, 0, 4);
  return image + section + note;
}

TEST(ElfVersionReaderTest, ReadsBigEndian32BitFiles) {
  std::optional<TFixedFileInfo> info = FindVersionNote(
      BigEndianElf32("Morvel", 1, {0xFFFFFFFFu, 0x00010002u, 0x00090008u, 0x00070006u}));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->FileVersionMS, 0xFFFFFFFFu);
  EXPECT_EQ(info->FileVersionLS, 0x00010002u);
  EXPECT_EQ(info->ProductVersionMS, 0x00090008u);
  std::string path = settingstest::NewFolder("elf") + "/be32.so";
  settingstest::WriteFile(path, BigEndianElf32("Morvel", 1, {0xFFFFFFFFu, 0x00010002u, 0, 0}));
  EXPECT_EQ(GetVersionText(path), "65535.65535.1.2");
}

TEST(ElfVersionReaderTest, IgnoresNotesOfOtherOwnersAndTypes) {
  EXPECT_FALSE(FindVersionNote(BigEndianElf32("GNU", 1, {1, 2, 3, 4})));
  EXPECT_FALSE(FindVersionNote(BigEndianElf32("Morvel", 3, {1, 2, 3, 4})));
}

}  // namespace
