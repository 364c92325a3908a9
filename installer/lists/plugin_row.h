// The rows of the plugin list, which the plugin page fills and the installation reads back.
#pragma once

// Columns of a plugin row.
enum { PLUGIN_COLUMN_LABEL = 0, PLUGIN_COLUMN_SIZE = 1, PLUGIN_COLUMN_PATH = 2, PLUGIN_COLUMN_COPIED_TO = 3 };
