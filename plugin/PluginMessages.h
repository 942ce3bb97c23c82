#pragma once
// The entry point's own message boxes: shown as they stand, not through the translator.
#include <QMessageBox>
#include <QString>

namespace plugin {

inline const char* const kCaptionAttention = "Atenção";
inline const char* const kMsgOnlyAtHeadquarters = "Este plugin só pode ser executado na Sede!";
inline const char* const kMsgNoConfiguration = "Este plugin não possui opções de configuração!";
inline const char* const kMsgUnsupportedAction = "Este plugin não suporta este tipo de acção!";
inline const char* const kMsgDatabaseOpenFailed = "Ocorreu um erro na abertura da base de dados!";

// A modal box with an OK button; stayOnTop keeps it above every other window.
void ShowPluginMessage(const char* text, QMessageBox::Icon icon, bool stayOnTop = false);

}  // namespace plugin
