#pragma once

#include "platform/Platform.h"

#include <QString>

namespace ondavia {

// Settings of the remote-assistance tool: keys of section [opzioni] of configurazione.ini.
inline constexpr const char* ChiaveFileAssistenza = "Assistenza_File";         // the tool's file name
inline constexpr const char* ChiavePercorsoAssistenza = "Assistenza_Percorso"; // its path on the maker's site
inline constexpr const char* ChiaveSha256Assistenza = "Assistenza_SHA256";     // its SHA-256, when known
inline constexpr const char* ChiaveLimiteAssistenza = "Assistenza_MaxMB";      // the largest download, in MB

inline constexpr const char* FileAssistenzaPredefinito = "Assistenza-TVQS.exe";
inline constexpr const char* PercorsoAssistenzaPredefinito = "/wp-content/files_mf/Assistenza-TVQS.exe";
inline constexpr int LimiteAssistenzaPredefinitoMB = 100;

// The remote-assistance command: after the user confirms, makes sure the tool is in its folder
// (downloading it from the maker's site when it is missing) and starts it. When the tool can be
// neither found nor downloaded, says so and opens the maker's remote-assistance page. A tool that is
// there but cannot be started raises ErroreEsecuzione.
void AssistenzaRemota();

// The folder that keeps the tool: KELMARA/ASSISTENZA_REMOTA under the public profile (the folder named
// by the environment variable PUBLIC) when there is one, else under the user's data folder.
QString cartellaAssistenza();

// Creates the folder `percorso` and any missing folder above it. Nothing happens when something of
// that name already exists; a folder that cannot be created is not reported.
void CreaCartella(const QString& percorso);

// The folder part of a path: DividiPercorso with the folder wanted.
QString CartellaPadre(const QString& percorso);

// Splits a path at its last separator ("\" or "/"): the part before it when `cartella` is true, else
// the part after it. A path without separator has an empty folder and is all file; so is, as file,
// a path whose only separator is its first character.
QString DividiPercorso(const QString& percorso, bool cartella);

// Whether `percorso` names an existing file (a folder is not a file).
bool EsisteFile(const QString& percorso);

// Downloads `indirizzo` into `file` through the platform, with a progress window that can cancel it:
// https only, at most `limiteByte` bytes, checked against `sha256` when it is not empty, and made
// executable. On failure `motivo` says why, and no file is left.
DownloadOutcome ScaricaFile(const QString& indirizzo, const QString& file, const QString& sha256, qint64 limiteByte,
                            QString* motivo);

} // namespace ondavia
