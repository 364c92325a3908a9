// The names of what the installer puts into the device's application-data directory, which are
// also the desktop installation's default names for them.
#pragma once

// The main settings file.
constexpr char MAIN_SETTINGS_FILE[] = "vtmain.ini";
// The FTP settings file.
constexpr char FTP_SETTINGS_FILE[] = "vpx_ftp.ini";
// The button bar file used when the settings name none (or one that is refused).
constexpr char DEFAULT_BUTTON_BAR[] = "default.bar";
// The root of the plugin copies, as the portable settings file names it: unexpanded, so that it
// follows the device to any drive letter.
constexpr char PLUGIN_BASE[] = "%U3_APP_DATA_PATH%\\Plugins";
