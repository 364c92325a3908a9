#pragma once

// Large enough for the longest summary (two paths of 259 characters and two counts: 612).
enum { SUMMARY_BUFFER_SIZE = 1024 };

// The summary page's list of what will be carried over, from InstallState and the checked rows
// of the two row tables (a page never shown has no rows).
void BuildSummaryText(char *text, int capacity);
