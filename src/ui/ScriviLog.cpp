#include "ScriviLog.h"

#include "app/Windows1252.h"

#include <QFile>

namespace ondavia {

bool ScriviLog(const QString& testo)
{
    if (LogAttivo != QLatin1String("1")) {
        return true;
    }
    QFile file(FileLog);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const QByteArray riga = cp1252::encode(testo) + "\r\n";
    return file.write(riga) == riga.size();
}

} // namespace ondavia
