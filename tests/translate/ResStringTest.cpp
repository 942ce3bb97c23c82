// The module's string table read through LoadResString, with and without a dictionary.
#include <gtest/gtest.h>

#include <string>

#include "QuenTranslate/ResString.h"
#include "QuenTranslate/ResStringLoader.h"
#include "QuenTranslate/TranslatedResString.h"
#include "DictionaryFixture.h"

namespace {
const std::string kLongText = std::string(4095, 'a') + "ção";  // "ç" spans bytes 4095 and 4096
const std::string kExactText = std::string(4096, 'b');

DEFINE_RESOURCESTRING(STestPlain, 61001, "Cannot perform this operation on a closed connection");
DEFINE_RESOURCESTRING(STestAccents, 61002, "Pão de Ló: %s\r\n");
DEFINE_RESOURCESTRING(STestEmpty, 61003, "");
DEFINE_RESOURCESTRING(STestLong, 61004, kLongText.c_str());
DEFINE_RESOURCESTRING(STestExact, 61005, kExactText.c_str());
const TResStringRec kUnknown = {&HInstance, 61999};

class ResStringTest : public DictionaryFixture {};

TEST_F(ResStringTest, LoaderIsHookedWhileTheModuleIsLoaded) {
  const THook* hook = ResStringHook();
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->PatchPosition(), CodeAddress(&LoadResString));
  EXPECT_EQ(hook->NewProc(), CodeAddress(&TranslatedLoadResString));
  EXPECT_EQ(hook->Patch()[0], 0xE9);
  EXPECT_NE(QuenDictionaries(), nullptr);
  EXPECT_EQ(CurrentDictionary(), nullptr);
}

TEST_F(ResStringTest, WithoutDictionaryTextsReadExactlyAsStored) {
  EXPECT_EQ(QuenDictionaries()->Count(), 0);
  EXPECT_EQ(LoadResString(&STestPlain), "Cannot perform this operation on a closed connection");
  EXPECT_EQ(LoadResString(&STestAccents), "Pão de Ló: %s\r\n");
  EXPECT_EQ(LoadResString(&STestEmpty), "");
  EXPECT_EQ(LoadResString(&STestExact), kExactText);
  EXPECT_EQ(LoadResString(&kUnknown), "");
}

TEST_F(ResStringTest, LongTableTextIsCutAtACharacterBoundary) {
  const std::string text = LoadResString(&STestLong);
  EXPECT_EQ(text, std::string(4095, 'a'));
  EXPECT_EQ(TranslatedLoadResString(&STestLong), text);
}

TEST_F(ResStringTest, IdentifierAboveTableRangeIsTheTextItself) {
  const std::string text = std::string(5000, 'x') + " direct";
  const TResStringRec direct = {&HInstance, reinterpret_cast<uintptr_t>(text.c_str())};
  ASSERT_GT(direct.Identifier, 65535u);
  EXPECT_EQ(LoadResString(&direct), text);  // not cut: only table texts pass the buffer
  Register({{text, "", "traduzido"}});
  EXPECT_EQ(LoadResString(&direct), "traduzido");
}

TEST_F(ResStringTest, LoadResStringAnswersTheFirstRegisteredDictionary) {
  Register({{"Cannot perform this operation on a closed connection", "",
             "Operação impossível com a ligação fechada"}});
  Register({{"Pão de Ló: %s\r\n", "", "Second dictionary is never asked"}});
  EXPECT_EQ(LoadResString(&STestPlain), "Operação impossível com a ligação fechada");
  EXPECT_EQ(LoadResString(&STestAccents), "Pão de Ló: %s\r\n");
  EXPECT_EQ(LoadResString(&kUnknown), "");
}

TEST_F(ResStringTest, FirstDictionaryAnswersEvenWhenDisabledAndNotCurrent) {
  TQuenDictionary* first = Register({{"Pão de Ló: %s\r\n", "", "Sponge cake: %s\r\n"}}, false);
  TQuenDictionary* second = Register({{"Pão de Ló: %s\r\n", "", "Bolo: %s\r\n"}});
  SetCurrentDictionary(second);
  ASSERT_FALSE(first->Enabled());
  EXPECT_EQ(LoadResString(&STestAccents), "Sponge cake: %s\r\n");
}
}  // namespace
