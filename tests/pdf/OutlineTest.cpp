#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

TEST(FolianOutline, LevelsThatSkipAStepHangUnderThePreviousBookmark)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "skip.pdf").string());
    pdf.BeginPage();
    pdf.AddBookmark("A", 3, 1);
    pdf.AddBookmark("B", 5, 1, "orange", 2, "/Fit");
    pdf.AddBookmark("C", 0, 7, "", 0, "/Fit");
    pdf.EndDoc();
    const std::string file = readFile(dir / "skip.pdf");
    EXPECT_EQ(objectText(file, 9), "<< /Title (B)\r/Parent 8 0 R\r/Dest [4 0 R /Fit]\r/C [1 0.498 0]\r/F 2\r>>");
    // B hangs under A; C is back at the first level, on the last page rather than page 7 of 1.
    EXPECT_EQ(objectText(file, 10), "<< /Title (C)\r/Parent 7 0 R\r/Prev 8 0 R\r/Dest [4 0 R /Fit]\r>>");
    EXPECT_READERS_ACCEPT(dir / "skip.pdf", 1, "(senza titolo)", "1.4"); // colour and style
}

TEST(FolianMetadata, PacketIsUtf8XmlThatAParserReadsAndThatCountsItsBytes)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    // Windows-1252: a right quote, an en dash, the euro sign, a-grave; then the XML specials and a
    // control code XML cannot carry.
    pdf.SetDocProperty("L\x92"
                       "Alfa \x96 \x80 10 \xE0 <A & B>",
                       "\"Oggetto\" l'altro\x01", "Societ\xE0 \"Rossi\" & C.");
    pdf.BeginDoc((dir / "xmp.pdf").string());
    pdf.EndDoc();
    const std::string packet = folian::test::storedStream(readFile(dir / "xmp.pdf"), 6);
    const auto headerEnd = packet.find('\r');
    EXPECT_EQ(packet.substr(0, headerEnd), "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" +
                                               std::to_string(packet.size() - headerEnd - 1 + 64) + "'?>");
    std::ofstream(dir / "packet.xml", std::ios::binary) << packet;
    const std::string script = "import sys, xml.dom.minidom as m\n"
                               "d = m.parse(sys.argv[1])\n"
                               "for tag in ('pdf:Title', 'dc:title', 'pdf:Subject', 'pdf:Author', 'xap:CreateDate'):\n"
                               "    n = d.getElementsByTagName(tag)[0].firstChild\n"
                               "    sys.stdout.buffer.write((n.data if n else '').encode('utf-8') + b'\\n')\n";
    std::ofstream(dir / "read.py") << script;
    const std::string read = folian::test::runCommand("python3 '" + (dir / "read.py").string() + "' '" +
                                                      (dir / "packet.xml").string() + "' 2>&1");
    EXPECT_EQ(read, "L\u2019Alfa \u2013 \u20AC 10 \u00E0 <A & B>\n"
                    "L\u2019Alfa \u2013 \u20AC 10 \u00E0 <A & B>\n"
                    "\"Oggetto\" l'altro\n"
                    "Societ\u00E0 \"Rossi\" & C.\n"
                    "2026-12-05T14:03:09+01:00\n");

    // Every date carries the offset of its moment.
    auto utc = fixedHooks();
    utc.utcOffsetMinutes = [](const folian::LocalDateTime&) { return 0; };
    EXPECT_EQ(countOf(A::Xmp(Folian(utc)), "2026-12-05T14:03:09Z<"), 5);
    auto west = fixedHooks();
    west.utcOffsetMinutes = [](const folian::LocalDateTime&) { return -210; };
    EXPECT_EQ(countOf(A::Xmp(Folian(west)), "2026-12-05T14:03:09-03:30<"), 5);
}
