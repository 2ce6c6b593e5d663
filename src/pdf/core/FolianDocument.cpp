// Document and page life: the output file, pages and their objects.
#include "core/Folian.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace folian {

namespace {
constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr const char* kBanner = "Folian, the Ondavia PDF writer";

std::string hexUpper(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}
} // namespace

void Folian::openOutput(const std::string& path)
{
    // A folder of that name would refuse the finished file only at the end.
    std::error_code ec;
    int code = std::filesystem::is_directory(path, ec) ? EISDIR : 0;
    m_partName = path + ".part";
    errno = 0;
    if (code == 0 && !m_out.open(m_partName)) {
        code = errno;
    }
    if (code == ENOENT || code == ENOTDIR) {
        throw Error(ErrorCode::PathNotFound, "Path not found");
    }
    if (code == EACCES || code == EPERM || code == EROFS) {
        throw Error(ErrorCode::PermissionDenied, "Permission denied");
    }
    if (OutputFile::diskFull(code)) {
        throw Error(ErrorCode::DiskFull, "Disk full");
    }
    if (code != 0 || !m_out.isOpen()) {
        throw Error(ErrorCode::PathFileAccess,
                    std::string("Path/File access error") + (code != 0 ? ": " + std::string(std::strerror(code)) : ""));
    }
}

bool Folian::closeOutput(bool keep)
{
    if (!m_out.isOpen()) {
        return false;
    }
    // The finished file reaches the disk before it takes its name, so that a power cut leaves
    // the earlier file or the whole new one, never an empty one under the final name.
    const bool written = m_out.close(keep && SyncOnEnd);
    std::error_code ec;
    if (keep && written) {
        std::filesystem::rename(m_partName, FileName, ec);
        if (!ec) {
            return true;
        }
    }
    // An unfinished document never replaces a file the user already has.
    std::filesystem::remove(m_partName, ec);
    return false;
}

std::string Folian::BeginDoc(std::string_view strFileName)
{
    // Pages and objects of an earlier document would be listed in the new file's page tree and
    // numbering, so a second document on one object is refused until Abort clears them.
    if (MaxObject != 0) {
        SetErrorInfo(Error(ErrorCode::InvalidCall, "Invalid procedure call: call Abort before a second document"),
                     "BeginDoc", std::string(strFileName));
        return FileName;
    }

    std::string name(strFileName);
    if (name.empty()) {
        const LocalDateTime now = m_hooks.now ? m_hooks.now() : SystemNow();
        const int digit = (m_hooks.randomDigit ? m_hooks.randomDigit() : SystemRandomDigit()) % 10;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%d%02d%02d%02d%d", now.day, now.hour, now.minute, now.second,
                      digit < 0 ? -digit : digit);
        name = "~" + hexUpper(std::stoull(stamp)) + ".pdf";
    }
    FileName = name;
    try {
        openOutput(FileName);
    } catch (const Error& error) {
        SetErrorInfo(error, "BeginDoc", FileName);
    }

    WriteLine(std::string("%PDF-1.3") + LF + "% " + kBanner + " rel. " + Version());
    MaxObject = 3;
    return FileName;
}

int32_t Folian::BeginPage()
{
    if (!m_out.isOpen()) {
        throw Error(ErrorCode::BadFileNameOrNumber, "No document is open for a page");
    }
    if (InPage) {
        EndPage();
    }
    PageCount += 1;
    PageObjects.make(PageCount, MemoryUsage);

    PageAnnots.clear();
    DocScripts[0].clear();
    DocScripts[1].clear();

    PageContent.BufferReset();
    InPage = true;

    SetColorFill("Black");
    SetColorLine("Black");
    SetColorText("Black");

    if (ObjectCount > 0) {
        PlayAutoObjects(false);
    }

    PageRotation = DefaultRotation;
    CharSpacing = WordSpacing = 0;
    HorizontalScaling = 100;
    CurrentX = CurrentY = 0;
    LineSpacing = 1;

    PageTransition = PendingTransition;
    PageDuration = PendingDuration;
    FieldWidgetCount = 0;
    return PageCount;
}

void Folian::EndPage()
{
    if (!InPage) {
        return;
    }
    if (ObjectCount > 0) {
        PlayAutoObjects(true);
    }
    InPage = false;

    // Flip the y axis so that content runs down from the top margin, starting at the left one.
    const double width = PageWidth;
    const double height = PageHeight;
    std::string prefix =
        "1 0 0 -1 " + FormatReal(MarginLeft) + " " + FormatReal(static_cast<float>(height - MarginTop)) + " cm " + CR;
    if (MarginFlag) {
        prefix += "0 0 " + FormatReal(static_cast<float>(width - MarginRight - MarginLeft)) + " " +
                  FormatReal(static_cast<float>(height - MarginBottom - MarginTop)) + " re W n" + CR;
    }

    int32_t openScript = 0;
    int32_t closeScript = 0;
    if (!DocScripts[0].empty()) {
        openScript = WriteStreamObject(DocScripts[0]);
    }
    if (!DocScripts[1].empty()) {
        closeScript = WriteStreamObject(DocScripts[1]);
    }

    const int32_t pageObject = MaxObject + FieldWidgetCount + 1;
    for (int32_t i = 1; i <= FieldWidgetCount; ++i) {
        const FieldWidgetRecord& field = FieldWidgets[i];
        int32_t widget = 0;
        if (field.FieldType == FieldType::RadioButton) {
            // Numbered in its place, written when the document ends and the buttons that
            // share its name are all known.
            widget = ++MaxObject;
            RadioWidgets.push_back(RadioWidgetRecord{field, widget, pageObject});
        } else {
            widget = BeginObj();
            writeWidget(field, pageObject);
        }
        AcroFormFields.push_back(widget);
        if (!InObject) {
            PageAnnots += std::to_string(widget) + " 0 R ";
        }
    }

    const int32_t n = BeginObj();
    PageObjects[PageCount] = n;
    const std::string box = FormatReal(PageWidth) + " " + FormatReal(PageHeight) + "]" + CR;
    std::string page = "<< /Type /Page /Parent 1 0 R /Contents " + std::to_string(n + 1) + " 0 R" + CR;
    switch (PageRotation) {
    case 1:
        page += std::string("/Rotate 270") + CR;
        break;
    case 2:
        page += std::string("/Rotate 180") + CR;
        break;
    case 3:
        page += std::string("/Rotate 90") + CR;
        break;
    default:
        break;
    }
    page += "/MediaBox [0 0 " + box + "/CropBox [0 0 " + box + "/BleedBox [0 0 " + box;
    if (!PageAnnots.empty()) {
        page += "/Annots " + std::to_string(n + 2) + " 0 R";
    }
    page += "/Resources 2 0 R";
    if (!PageTransition.empty()) {
        page += std::string(1, CR) + "/Dur " + FormatReal(PageDuration) + " /Trans " + PageTransition;
    }
    if (openScript != 0 || closeScript != 0) {
        page += std::string(1, LF) + "/AA <<";
        if (openScript != 0) {
            page += " /O << /Type /Action /S /JavaScript /JS " + std::to_string(openScript) + " 0 R >>" + CR;
        }
        if (closeScript != 0) {
            page += " /C << /Type /Action /S /JavaScript /JS " + std::to_string(closeScript) + " 0 R >>" + CR;
        }
        page += ">> ";
    }
    page += ">>";
    WriteLine(page);
    EndObj();
    PageKids += std::to_string(n) + " 0 R ";

    // Nothing is drawn into the page's buffer once the page is closed, so its stream is written
    // from there.
    BeginObj();
    WriteLine("<<");
    writeContentStream(prefix, PageContent.BufferGetText());
    PageContent.BufferReset();
    EndObj();

    if (!PageAnnots.empty()) {
        BeginObj();
        WriteLine("[ " + PageAnnots + " ]");
        EndObj();
    }
}

void Folian::writeWidget(const FieldWidgetRecord& field, int32_t page)
{
    const int32_t widget = CurrentObject;
    std::string t = " /DA " + FormatTextString(field.DefaultAppearance) + " /T " + FormatShownText(field.FieldName);
    if (!field.Tooltip.empty()) {
        t += " /TU " + FormatShownText(field.Tooltip);
    }
    switch (field.FieldType) {
    case FieldType::Text:
        t += " /MK <<" + field.AppearanceEntries + ">> " + CR + " /V " + FormatShownText(field.Value) + " /DV " +
             FormatShownText(field.Value) + " ";
        break;
    case FieldType::PushButton:
        t += " /MK << /CA " + FormatShownText(field.Caption) + " " + field.AppearanceEntries + ">> ";
        break;
    case FieldType::CheckBox:
    case FieldType::RadioButton:
        // The caption of a button that is ticked is a character code of ZapfDingbats, not text.
        t += " /MK << /CA " + FormatTextString(field.Caption) + " " + field.AppearanceEntries + ">> ";
        break;
    case FieldType::ComboBox:
    case FieldType::ListBox: {
        t += " /MK <<" + field.AppearanceEntries + ">> /Opt [ ";
        const std::vector<std::string_view> options = SplitText(field.Value, "|");
        for (const std::string_view option : options) {
            t += FormatShownText(option);
        }
        t += " ] ";
        const int32_t n = field.SelectedOption;
        if (n >= 1 && n <= static_cast<int32_t>(options.size())) {
            const std::string chosen = FormatShownText(options[static_cast<std::size_t>(n - 1)]);
            t += " /DV " + chosen + " /V " + chosen;
        }
        break;
    }
    default:
        break;
    }
    if (!field.ActionEntries.empty()) {
        t += " /AA << " + field.ActionEntries + " >> ";
        if (field.CalcOrder) {
            AcroFormCalcOrder += std::to_string(widget) + " 0 R ";
        }
    }
    t += field.ExtraEntries;
    WriteLine(field.WidgetDictionary + t + " /P " + std::to_string(page) + " 0 R >>");
    EndObj();
}

int32_t Folian::GetPage() const
{
    return PageCount;
}

int32_t Folian::FileSize() const
{
    if (m_out.isOpen()) {
        return static_cast<int32_t>(m_out.offset());
    }
    return SavedFileSize;
}

void Folian::OpenDoc()
{
    if (m_out.isOpen()) {
        throw Error(ErrorCode::InvalidCall, "The document is not finished: call EndDoc first");
    }
    if (FileName.empty()) {
        throw Error(ErrorCode::BadFileNameOrNumber, "No document has been written");
    }
    if (!m_hooks.openInViewer) {
        throw Error(ErrorCode::InvalidCall, "No viewer is available to open " + FileName);
    }
    if (!m_hooks.openInViewer(FileName)) {
        throw Error(ErrorCode::PathFileAccess, "The viewer could not open " + FileName);
    }
}

} // namespace folian
