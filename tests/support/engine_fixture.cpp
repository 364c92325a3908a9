#include "support/engine_fixture.h"

#include "support/temp_directory.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace engine_fixture {

namespace {

std::string Trim(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

Fixture BuildFixture(const DesktopDescription &description)
{
    Fixture fixture;
    fixture.Root = UniqueTempDirectory("engine");
    fixture.DesktopDir = fixture.Root + "\\desktop";
    fixture.DeviceDir = fixture.Root + "\\device";
    fixture.MainIniPath = fixture.DesktopDir + "\\vtmain.ini";
    fixture.FtpIniPath = fixture.DesktopDir + "\\vpx_ftp.ini";
    MakeDirectories(fixture.DesktopDir);
    MakeDirectories(fixture.DeviceDir);

    for (const FixtureFile &file : description.Files)
        WriteFileBytes(fixture.DesktopDir + "\\" + file.RelativePath, file.Content, file.Attributes);
    if (!description.ButtonBarPath.empty())
        WriteFileBytes(fixture.DesktopDir + "\\" + description.ButtonBarPath, description.ButtonBarContent);
    if (description.HasFtpIni)
        WriteFileBytes(fixture.FtpIniPath, description.FtpIni);
    // Last, so that a read-only attribute does not stand in the way of the other files.
    WriteFileBytes(fixture.MainIniPath, description.MainIni, description.MainIniAttributes);
    return fixture;
}

std::vector<std::string> ListDirectory(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadIniFile(const std::string &path, IniFile *file)
{
    file->clear();
    std::string text;
    if (!ReadFileBytes(path, &text))
        return false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        line = Trim(line);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            IniSection section;
            section.Name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            file->push_back(section);
            continue;
        }
        if (file->empty())
            file->push_back(IniSection());
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
        file->back().Lines.push_back(line);
    }
    return true;
}

std::string FormatIni(const IniFile &file)
{
    std::string all;
    for (const IniSection &section : file) {
        all += "[" + section.Name + "]\n";
        for (const std::string &line : section.Lines)
            all += "  " + line + "\n";
    }
    return all;
}

HWND CreateSettingsFileList(HWND parent, const std::vector<ListRow> &rows)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, parent, NULL,
                                GetModuleHandleA(NULL), NULL);
    if (!list)
        return NULL;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<char *>("Settings file");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (const ListRow &row : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char *>(row.Name);
        int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(row.Checked ? 2 : 1);
        SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
    return list;
}

}  // namespace engine_fixture
