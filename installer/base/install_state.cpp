#include "base/install_state.h"

InstallStateRecord InstallState;

const PluginKindEntry PluginKind[PLUGIN_KIND_COUNT] = {
    {"Packer: ", "PackerPlugins", "vpx", 0},
    {"Lister: ", "ListerPlugins", "vlx", 1},
    {"File System: ", "FileSystemPlugins", "vfx", 0},
    {"Content: ", "ContentPlugins", "vdx", 1},
};
