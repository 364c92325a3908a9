// The edits that turn a copied desktop main settings file into the device's portable one.
#pragma once

enum RewriteOperation {
    REWRITE_REMOVE_KEY,
    REWRITE_WRITE_VALUE,
    REWRITE_WRITE_BUTTON_BAR,  // Value followed by the device's button bar file name; none removes the key
};

struct PortableRewriteStep {
    RewriteOperation Operation;
    const char *Section;  // spelled as the file manager's own code spells it
    const char *Key;
    const char *Value;    // NULL when removing
};

enum { PORTABLE_REWRITE_STEP_COUNT = 12 };

// Applied in this order: a key is removed before it is written anew.
extern const PortableRewriteStep PortableRewrite[PORTABLE_REWRITE_STEP_COUNT];

// Removes the section of every plugin kind (PluginKind), then runs every step on iniPath
// through the profile functions; their results are not examined.
void ApplyPortableRewrite(const char *iniPath, const char *buttonBarName);
