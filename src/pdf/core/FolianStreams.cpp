// Streams and the writers of fixed-shape objects built on them.
#include "core/AsciiCase.h"
#include "core/Folian.h"

namespace folian {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

} // namespace

void Folian::encodeStream(std::vector<uint8_t>& data, std::string& filter, bool deflated)
{
    // Each filter's decoder goes in front of the list, so a reader undoes them in reverse order.
    const bool compress = filter.empty() || deflated;
    if (deflated) {
        filter = "/FlateDecode " + filter;
    } else if (compress) {
        if (CompressionMode & 1) {
            EncodeRunLength(data);
            filter = "/RunLengthDecode " + filter;
        }
        if (CompressionMode & 2) {
            std::vector<uint8_t> encoded;
            m_deflater.compress({std::string_view(reinterpret_cast<const char*>(data.data()), data.size())},
                                CompressionQuality, encoded);
            data.swap(encoded);
            filter = "/FlateDecode " + filter;
        }
    }
    if (compress && (CompressionMode & 4)) {
        EncodeLZW(data, CompressionQuality);
        filter = "/LZWDecode " + filter;
    }
    if (CompressionMode & 8) {
        EncodeASCII85(data);
        filter = "/ASCII85Decode " + filter;
    }
    if (CompressionMode & 16) {
        EncodeASCIIHex(data);
        filter = "/ASCIIHexDecode " + filter;
    }
}

void Folian::writeStreamData(const std::string& filter, int32_t length1, std::initializer_list<std::string_view> parts)
{
    if (!filter.empty()) {
        WriteLine("/Filter [" + filter + "]");
    }
    if (length1 > 0) {
        WriteLine("/Length1 " + std::to_string(length1));
    }
    std::size_t length = 0;
    for (std::string_view part : parts) {
        length += part.size();
    }
    const std::string head = "/Length " + std::to_string(length) + " >>" + CR + "stream" + LF;
    writeBytes(head.data(), head.size());
    for (std::string_view part : parts) {
        writeBytes(part.data(), part.size());
    }
    WriteLine(std::string(1, LF) + "endstream");
}

void Folian::WriteStream(std::vector<uint8_t>& data, int32_t objectNumber, std::string filter, int32_t length1)
{
    encodeStream(data, filter, false);
    if (ProtectionOn != 0) {
        RC4Crypt(GetObjectKey(objectNumber), data);
    }
    writeStreamData(filter, length1, {std::string_view(reinterpret_cast<const char*>(data.data()), data.size())});
}

void Folian::writeContentStream(std::string_view head, std::string_view body)
{
    if (CompressionMode == 0 && ProtectionOn == 0) {
        writeStreamData(std::string(), 0, {head, body});
        return;
    }
    std::vector<uint8_t>& data = m_streamData;
    std::string filter;
    if ((CompressionMode & (1 | 2)) == 2) {
        m_deflater.compress({head, body}, CompressionQuality, data);
        encodeStream(data, filter, true);
    } else {
        data.assign(head.begin(), head.end());
        data.insert(data.end(), body.begin(), body.end());
        encodeStream(data, filter, false);
    }
    if (ProtectionOn != 0) {
        int32_t current = 0;
        RC4Crypt(GetObjectKey(current), data);
    }
    writeStreamData(filter, 0, {std::string_view(reinterpret_cast<const char*>(data.data()), data.size())});
}

int32_t Folian::WriteStreamObject(std::string_view text)
{
    const int32_t n = BeginObj();
    WriteLine("<<");
    std::vector<uint8_t> data(text.begin(), text.end());
    WriteStream(data, 0, std::string(), 0);
    EndObj();
    return n;
}

int32_t Folian::WriteImageObject(std::string_view kind, std::vector<uint8_t>& data, std::vector<uint8_t>& palette,
                                 int32_t width, int32_t height, uint8_t bitsPerPixel, std::string_view name,
                                 std::string_view colorSpace, const std::string& filter, std::string_view mask)
{
    std::string space;
    char mark = 0;
    if (kind == "BMP") {
        space = "DeviceRGB";
        mark = 'B';
    } else if (kind == "TGA") {
        space = "DeviceRGB";
        mark = 'J';
    } else if (kind == "GIF") {
        space = "DeviceRGB";
        mark = 'G';
    } else if (kind == "JPG") {
        space = std::string(colorSpace);
        mark = 'J';
    }
    const int32_t i = BeginObj();
    WriteLine("<< /Type /XObject /Subtype /Image /Name " + std::string(name) + " /Width " + std::to_string(width) +
              " /Height " + std::to_string(height));
    if (!mask.empty()) {
        WriteLine("/Mask [" + std::string(mask) + "]");
    }
    if (mark == 'J' || bitsPerPixel == 24) {
        WriteLine("/BitsPerComponent 8 /ColorSpace /" + space);
    } else if (bitsPerPixel < 9) {
        WriteLine("/BitsPerComponent " + std::to_string(bitsPerPixel) + " /ColorSpace [/Indexed /" + space + " " +
                  std::to_string((1 << bitsPerPixel) - 1) + " " + std::to_string(i + 1) + " 0 R]");
    }
    WriteStream(data, 0, filter, 0);
    EndObj();
    if (mark != 'J' && bitsPerPixel <= 8) {
        BeginObj();
        WriteLine("<<");
        WriteStream(palette, 0, filter, 0);
        EndObj();
    }
    return i;
}

void Folian::WriteAnnotation(std::string text, std::string_view contents, std::string_view title,
                             std::string_view defaultAppearance, std::string_view target)
{
    const int32_t a = BeginObj();
    // Notes would fill these four; links, the only caller, give none, so no public operation reaches them.
    if (!title.empty()) {
        text += " /T " + FormatShownText(title);
    }
    if (!contents.empty()) {
        text += " /Contents " + FormatShownText(contents);
    }
    if (!defaultAppearance.empty()) {
        text += " /DA " + FormatTextString(defaultAppearance);
    }
    if (!target.empty()) {
        if (target.substr(0, 5) == "file:") {
            text +=
                " /A << /Type /Action /S /GoToR /F " + FormatTextString(target.substr(5)) + " /D [-1 /XYZ 0 0 0] >> ";
        } else {
            text += " /A << /S /URI /URI " + FormatTextString(target) + " >> ";
        }
    }
    WriteLine(text + " >>");
    EndObj();
    const std::string reference = std::to_string(a) + " 0 R ";
    if (InObject && ObjectCount > 0) {
        ObjectTable[ObjectCount].AnnotRefs += reference;
    } else {
        PageAnnots += reference;
    }
}

int32_t Folian::WriteFontObjects(std::string_view name, std::vector<uint8_t>& fontFile, int32_t length1,
                                 std::string_view descriptorEntries)
{
    const FontRecord& font = FontTable[FontCount];
    const std::string resource = FormatName(name);
    const std::string base = FormatName(font.BaseFontName);
    const int32_t f = BeginObj();
    FontResources += "/" + resource + " " + std::to_string(f) + " 0 R ";
    std::string head = std::string("<< /Type /Font /Subtype /") + (font.IsTrueType ? "TrueType" : "Type1") +
                       " /Name /" + resource + " /BaseFont /" + base + " /FirstChar 0 /LastChar 255";
    WriteLine(head);
    const std::string upperBase = asciiUpper(font.BaseFontName);
    if (upperBase != "SYMBOL" && upperBase != "ZAPFDINGBATS") {
        WriteLine(std::string("/Encoding << /Type /Encoding /BaseEncoding /") +
                  (font.Encoding == 1 ? "MacRomanEncoding" : "WinAnsiEncoding") + ">>");
    }
    if (!font.IsTrueType) {
        WriteLine(" >>");
        EndObj();
        return f;
    }
    TextBuffer widths;
    widths.BufferAppend("/FontDescriptor " + std::to_string(f + 1) + " 0 R" + CR + "/Widths [");
    for (int code = 0; code < 256; ++code) {
        widths.BufferAppend(std::to_string(font.Widths[static_cast<std::size_t>(code)]) + " ");
        if (code % 16 == 15) {
            widths.BufferAppendByte(static_cast<uint8_t>(CR));
        }
    }
    widths.BufferAppend(std::string("]") + CR + ">>");
    WriteLine(widths.BufferGetText());
    EndObj();

    const int32_t d = BeginObj();
    WriteLine("<< /Type /FontDescriptor /FontName /" + base + " " + std::string(descriptorEntries) + " ");
    if (length1 == 0) {
        WriteLine(" >>");
        EndObj();
        return f;
    }
    WriteLine("/FontFile2 " + std::to_string(d + 1) + " 0 R >>");
    EndObj();
    BeginObj();
    WriteLine("<<");
    WriteStream(fontFile, 0, std::string(), length1);
    EndObj();
    return f;
}

} // namespace folian
