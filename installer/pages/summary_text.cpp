#include "pages/summary_text.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "lists/check_list.h"

namespace {

// "\n- <count><what>\n", left out when nothing of the kind is checked.
void AppendCountLine(char *text, int capacity, int count, const char *what)
{
    if (count == 0)
        return;
    char number[16];
    wsprintfA(number, "%d", count);
    AppendBounded(text, "\n- ", capacity);
    AppendBounded(text, number, capacity);
    AppendBounded(text, what, capacity);
    AppendBounded(text, "\n", capacity);
}

}  // namespace

void BuildSummaryText(char *text, int capacity)
{
    text[0] = '\0';
    if (InstallState.CopySettings) {
        AppendBounded(text, "\n- Settings files:\n  ", capacity);
        AppendBounded(text, InstallState.SourceIniPath, capacity);
        AppendBounded(text, "\n  ", capacity);
        AppendBounded(text, InstallState.SourceFtpIniPath, capacity);
        AppendBounded(text, "\n", capacity);
    }
    if (InstallState.CopyPlugins) {
        AppendCountLine(text, capacity, CountCheckedItems(InstallState.PluginList), " selected plugins");
        AppendCountLine(text, capacity, CountCheckedItems(InstallState.SettingsFileList), " selected settings files");
    }
}
