// The wizard frame: page records, sheet header, and what the page procedures share.
#pragma once

#include <windows.h>
#include <prsht.h>

// Fills the seven page records and the sheet header; shows nothing.
void PrepareWizard();

// Shows the wizard modally and returns once it has closed (Finish or Cancel).
void RunWizard();

// The sheet header PrepareWizard filled, with its page records, as RunWizard hands it over.
const PROPSHEETHEADERA &PreparedWizard();

// Wizard-button states are posted to the sheet, never sent.
void PostWizardButtons(HWND page, DWORD buttons);

// Answers a property-sheet notification through the dialog's message result.
INT_PTR AnswerNotification(HWND page, LONG_PTR result);

// Page answers on Next and Back besides a template id.
enum { PAGE_MOVE_ON = 0, PAGE_STAY = -1 };

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LanguagePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsSourcePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PluginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsFilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SummaryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
