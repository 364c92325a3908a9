#include "pages/summary_text.h"

#include <windows.h>

#include "base/install_state.h"
#include "base/path_helpers.h"
#include "lists/plugin_rows.h"
#include "lists/settings_file_rows.h"

namespace {

// "\n- <count><what>\n", left out when nothing of the kind is checked.
void AppendCountLine(char *text, int capacity, int count, const char *what)
{
    if (count == 0)
        return;
    char number[16];
    wsprintfA(number, "%d", count);
    AppendBounded(text, capacity, "\n- ");
    AppendBounded(text, capacity, number);
    AppendBounded(text, capacity, what);
    AppendBounded(text, capacity, "\n");
}

}  // namespace

void BuildSummaryText(char *text, int capacity)
{
    text[0] = '\0';
    if (InstallState.CopySettings) {
        AppendBounded(text, capacity, "\n- Settings files:\n  ");
        AppendBounded(text, capacity, InstallState.SourceIniPath);
        AppendBounded(text, capacity, "\n  ");
        AppendBounded(text, capacity, InstallState.SourceFtpIniPath);
        AppendBounded(text, capacity, "\n");
    }
    if (InstallState.CopyPlugins) {
        AppendCountLine(text, capacity, CountCheckedPluginRows(), " selected plugins");
        AppendCountLine(text, capacity, CountCheckedSettingsFileRows(), " selected settings files");
    }
}
