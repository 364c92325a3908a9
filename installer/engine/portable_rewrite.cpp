#include "engine/portable_rewrite.h"

#include <windows.h>

#include "base/file_names.h"
#include "base/install_state.h"
#include "base/path_helpers.h"
#include "lists/plugin_row.h"

// The values stay unexpanded: the file manager resolves them on whatever host the device is in.
const PortableRewriteStep PortableRewrite[PORTABLE_REWRITE_STEP_COUNT] = {
    {REWRITE_REMOVE_KEY, "configuration", "iconlib", NULL},
    {REWRITE_REMOVE_KEY, "configuration", "drivelib", NULL},
    {REWRITE_REMOVE_KEY, "configuration", "viewer", NULL},
    {REWRITE_REMOVE_KEY, "configuration", "editor", NULL},
    {REWRITE_REMOVE_KEY, "configuration", "TabDir", NULL},
    {REWRITE_REMOVE_KEY, "Lister", "IViewPath", NULL},
    {REWRITE_WRITE_VALUE, "configuration", "TabDir", "%U3_APP_DATA_PATH%"},
    {REWRITE_WRITE_VALUE, "configuration", "pluginbasedir", PLUGIN_BASE},
    {REWRITE_WRITE_VALUE, "configuration", "ThumbsLocation", "%U3_HOST_EXEC_PATH%\\"},
    {REWRITE_WRITE_VALUE, "configuration", "TreeFileLocation", "%U3_HOST_EXEC_PATH%\\treeinfo%D%.vt"},
    {REWRITE_WRITE_BUTTON_BAR, "Buttonbar", "Buttonbar", "%U3_APP_DATA_PATH%\\"},
    {REWRITE_REMOVE_KEY, "configuration", "UseIniInProgramDir", NULL},
};

void ApplyPortableRewrite(const char *iniPath, const char *buttonBarName)
{
    // The desktop registrations go first; the plugin transfer writes the device's own.
    for (const PluginKindEntry &kind : PluginKind)
        WritePrivateProfileStringA(kind.Section, NULL, NULL, iniPath);
    for (const PortableRewriteStep &step : PortableRewrite) {
        switch (step.Operation) {
        case REWRITE_REMOVE_KEY:
            WritePrivateProfileStringA(step.Section, step.Key, NULL, iniPath);
            break;
        case REWRITE_WRITE_VALUE:
            WritePrivateProfileStringA(step.Section, step.Key, step.Value, iniPath);
            break;
        case REWRITE_WRITE_BUTTON_BAR: {
            // No name: the key goes rather than name the directory, or keep the desktop's file.
            if (!buttonBarName[0]) {
                WritePrivateProfileStringA(step.Section, step.Key, NULL, iniPath);
                break;
            }
            // Room for the prefix and a whole file name, never cut.
            char value[2 * PATH_BUFFER_SIZE];
            CopyBounded(value, COUNTOF(value), step.Value);
            AppendBounded(value, COUNTOF(value), buttonBarName);
            WritePrivateProfileStringA(step.Section, step.Key, value, iniPath);
            break;
        }
        }
    }
}
