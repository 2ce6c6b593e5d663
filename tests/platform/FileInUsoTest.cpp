#include "platform/FileInUso.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ondavia;

namespace {

bool scriviFile(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
}

// Runs `dentro` while another process holds a whole-file or a record lock on the file.
template <typename F> void conBloccoAltrui(const QString& percorso, bool record, F dentro)
{
    int pronto[2], fine[2];
    ASSERT_EQ(::pipe(pronto) | ::pipe(fine), 0);
    const QByteArray nome = QFile::encodeName(percorso);
    char c = '0';
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(nome.constData(), O_RDWR);
        struct flock tutto {};
        tutto.l_type = F_WRLCK;
        c = fd >= 0 && (record ? ::fcntl(fd, F_SETLK, &tutto) : ::flock(fd, LOCK_EX)) == 0 ? '1' : '0';
        (void)!::write(pronto[1], &c, 1);
        (void)!::read(fine[0], &c, 1);
        ::_exit(0);
    }
    EXPECT_TRUE(::read(pronto[0], &c, 1) == 1 && c == '1') << "the other process could not lock";
    dentro();
    (void)!::write(fine[1], &c, 1);
    ::waitpid(pid, nullptr, 0);
    for (int fd : {pronto[0], pronto[1], fine[0], fine[1]}) {
        ::close(fd);
    }
}

} // namespace

TEST(FileInUsoTest, LiberoMancanteOBloccato)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("stampa.pdf"));
    EXPECT_EQ(FileInUso(percorso), std::nullopt) << "missing";
    ASSERT_TRUE(scriviFile(percorso));
    EXPECT_EQ(FileInUso(percorso), false);
    conBloccoAltrui(percorso, false, [&] { EXPECT_EQ(FileInUso(percorso), true) << "whole-file lock"; });
    conBloccoAltrui(percorso, true, [&] { EXPECT_EQ(FileInUso(percorso), true) << "record lock"; });
    EXPECT_EQ(FileInUso(percorso), false) << "free again, and no lock left behind";
}
