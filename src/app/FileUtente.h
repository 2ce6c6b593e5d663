#pragma once

#include "platform/Platform.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

class QIODevice;

namespace ondavia {

// Helpers for the files the user chooses: the communication file, backups, print-outs.

// True when a file exists at `percorso` and the user, asked whether to replace it, answers No;
// false when there is no file or the user agrees to replace it.
bool ChiediSovrascrittura(const QString& percorso);

// Shows the save dialog until the user chooses a file that is not there or agrees to replace it; each round
// opens on the path refused last. Nothing when the user cancels, whatever was refused before.
std::optional<QString> chiediDoveSalvare(FileRequest richiesta);

// Writes the whole of `dati` to `file`, going on after short writes; false as soon as the system takes
// no more bytes (a full disk, a file-size limit). Open the file unbuffered, or a short write is seen
// only when the buffer is flushed, too late to be told.
bool scriviTutto(QIODevice& file, QByteArrayView dati);

// The user's Desktop folder, where every save dialog opens.
QString CartellaDesktop();

} // namespace ondavia
