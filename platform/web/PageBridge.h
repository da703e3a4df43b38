#pragma once

#include <cstdint>
#include <string>

// The page's side of the window system: functions of the page script (mtd-page.js), called
// from the program. Only platform/web includes this.
namespace mtd::page {

// --- Menu and keys ---
// How the page shows an item: a command, a command with a check mark, or a separating line.
enum class ItemKind { Command = 0, Check = 1, Separator = 2 };
// Starts the next popup of the menu bar; the items defined after it go into it.
void defineMenu(const char* popupText);
void defineMenuItem(int commandId, const char* text, bool enabled, ItemKind kind);
void defineAccelerator(const char* domKey, int commandId);
void setItemEnabled(int commandId, bool enabled);
void setItemChecked(int commandId, bool checked);
void setCaption(const char* utf8Text);

// --- Messages ---
// The next queued command id, or 0 when the queue is empty.
int takeMessage();
bool messageQueued();
// Gives the browser a turn: its rendering, input and timers run before this returns.
void yieldTurn();
// Sleeps until a message is queued or the time has passed (a negative time: no limit).
void waitForMessage(double milliseconds);

// --- The canvas ---
int canvasWidth();
int canvasHeight();
// Surface 0 is the page's canvas; createBuffer makes the offscreen one and returns its id.
int createBuffer(int width, int height);
void deleteBuffer(int surface);
void fillRect(int surface, int x, int y, int width, int height, std::uint32_t rgb);
// Sets the surface's font for a character cell of the given height, bold or not.
void setFont(int surface, int cellHeight, int weight, const char* face);
int textWidth(int surface, const char* text);
void fillText(int surface, int x, int y, const char* text, std::uint32_t rgb);
void copySurface(int target, int source, int width, int height);
// Text drawn on the back buffer, for the page's test hook.
void recordText(int x, int y, const char* text);

// --- The side panel's legend: the colour legend's groups and entries, in order ---
void defineLegendGroup(const char* title);
void defineLegendEntry(std::uint32_t rgb, const char* meaning);

// --- The windows besides the canvas ---
// Sizes the legend's canvas and returns its surface id, for drawing before it is shown.
int legendCanvas(int width, int height);
// Shows the legend's window beside the running program, or brings it forward.
void showLegend();
// A modal message with an OK button; returns when it is closed.
void showMessage(const char* title, const char* text);

// The settings form: its fields (label and text, by SettingsField's order), its code presets
// (their fields' texts from the number of checks onwards) and which preset the form has.
void setSettingsField(int field, const char* label, const char* text);
void defineSettingsPreset(int preset, const char* name, const char* codeFieldsText);
void selectSettingsPreset(int preset);
// Shows the form (modal) and waits for OK (true) or Cancel (false).
bool awaitSettings();
// The text of one field as the user left it.
std::string settingsFieldText(int field);
// Keeps the form open with the message, the field at fault (or -1) selected.
void refuseSettings(int field, const char* message);
// Closes the form; accepted: the program wrote init.txt, which the page's panel now shows.
void closeSettings(bool accepted);

// --- The end ---
void programEnded(int exitCode);

}  // namespace mtd::page
