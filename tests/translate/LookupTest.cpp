// Lookup in one dictionary: the binary search over entries ordered by Context, then Source.
#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>
#include <vector>

#include "QuenTranslate/QuenDictionary.h"
#include "QuenTranslate/TextCompare.h"

namespace {
// Given out of order on purpose: the dictionary keeps them in lookup order.
std::vector<TQuenEntry> SeveralEntries() {
  return {
      {"Sair", "", "Exit"},
      {"Aplicar", "", "Apply"},
      {"Cancelar", "", "Cancel"},
      {"Pré-visualização", "", "Preview"},
      {"Fechar", "", "Close"},
      {"Zona fiscal", "", "Fiscal region"},
      {"Sair", "Menu", "Quit"},
      {"Gravar", "", ""},
      {"IVA Mesa", "", "Table VAT"},
  };
}

struct LookupCase {
  const char* name;
  const char* text;
  const char* context;
  const char* expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
  *os << c.name;
}

const LookupCase kLookupCases[] = {
    {"FirstEntry", "Aplicar", "", "Apply"},
    {"MiddleEntry", "IVA Mesa", "", "Table VAT"},
    {"LastOfEmptyContext", "Zona fiscal", "", "Fiscal region"},
    {"LastEntryOtherContext", "Sair", "Menu", "Quit"},
    {"SameSourceEmptyContext", "Sair", "", "Exit"},
    {"AccentedSource", "Pré-visualização", "", "Preview"},
    {"MissingBeforeFirst", "Abrir", "", "Abrir"},
    {"MissingBetween", "Editar", "", "Editar"},
    {"MissingAfterLast", "Zzz", "Zzz", "Zzz"},
    {"MissingInContext", "Aplicar", "Menu", "Aplicar"},
    {"EmptyTranslation", "Gravar", "", "Gravar"},
    {"CaseDiffers", "aplicar", "", "aplicar"},
    {"CaseDiffersUpper", "IVA MESA", "", "IVA MESA"},
    {"AccentMissing", "Pre-visualizacao", "", "Pre-visualizacao"},
    {"EmptyText", "", "", ""},
};

class LookupCases : public testing::TestWithParam<LookupCase> {
 protected:
  void SetUp() override { dictionary_.SetEntries(SeveralEntries()); }
  TQuenDictionary dictionary_;
};

TEST_P(LookupCases, AnswersTranslationOrText) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(Lookup(&dictionary_, c.text, c.context), c.expected);
}

INSTANTIATE_TEST_SUITE_P(SortedTable, LookupCases, testing::ValuesIn(kLookupCases),
                         [](const testing::TestParamInfo<LookupCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(LookupTest, EntriesAreKeptInContextThenSourceOrder) {
  TQuenDictionary dictionary;
  dictionary.SetEntries(SeveralEntries());
  const std::vector<TQuenEntry>& entries = *dictionary.Entries();
  ASSERT_EQ(entries.size(), SeveralEntries().size());
  for (size_t i = 1; i < entries.size(); ++i) {
    const int contextOrder = LocaleCompare(entries[i - 1].Context, entries[i].Context);
    EXPECT_TRUE(contextOrder < 0 ||
                (contextOrder == 0 && LocaleCompare(entries[i - 1].Source, entries[i].Source) < 0))
        << "entry " << i;
  }
  EXPECT_EQ(entries.back().Context, "Menu");
}

TEST(LookupTest, DictionaryWithoutEntryListTranslatesNothing) {
  TQuenDictionary dictionary;
  EXPECT_EQ(dictionary.Entries(), nullptr);
  EXPECT_EQ(Lookup(&dictionary, "Aplicar", ""), "Aplicar");
  dictionary.SetEntries({{"Aplicar", "", "Apply"}});
  EXPECT_EQ(Lookup(&dictionary, "Aplicar", ""), "Apply");
  dictionary.ClearEntries();
  EXPECT_EQ(Lookup(&dictionary, "Aplicar", ""), "Aplicar");
  EXPECT_EQ(Lookup(nullptr, "Aplicar", ""), "Aplicar");
}

TEST(LookupTest, EmptyTextIsNeverLookedUp) {
  TQuenDictionary dictionary;
  dictionary.SetEntries({{"", "", "something"}});
  EXPECT_EQ(Lookup(&dictionary, "", ""), "");
}

// Of equal entries, one with a translation is found even when the search first meets one
// without: the search goes on below an untranslated match.
TEST(LookupTest, UntranslatedDuplicateDoesNotHideTranslatedOne) {
  TQuenDictionary dictionary;
  dictionary.SetEntries({{"A", "", ""}, {"B", "", "b1"}, {"B", "", ""}, {"C", "", ""}});
  EXPECT_EQ(Lookup(&dictionary, "B", ""), "b1");
}

// The comparison follows the collation the host chose; under a UTF-8 locale, case and accents
// still matter.
TEST(LookupTest, HostCollationKeepsCaseSignificant) {
  const std::string previous = std::setlocale(LC_COLLATE, nullptr);
  ASSERT_NE(std::setlocale(LC_COLLATE, "C.UTF-8"), nullptr);
  TQuenDictionary dictionary;
  dictionary.SetEntries(SeveralEntries());
  EXPECT_EQ(Lookup(&dictionary, "Pré-visualização", ""), "Preview");
  EXPECT_EQ(Lookup(&dictionary, "PRÉ-VISUALIZAÇÃO", ""), "PRÉ-VISUALIZAÇÃO");
  EXPECT_EQ(Lookup(&dictionary, "Fechar", ""), "Close");
  std::setlocale(LC_COLLATE, previous.c_str());
}

TEST(LookupTest, CodePageConversionIsTheIdentityForUtf8) {
  for (const char* text : {"", "Pão de Ló", "Preço s/ IVA €", "plain"})
    EXPECT_EQ(CodePage1252ToSystem(text), text);
}
}  // namespace
