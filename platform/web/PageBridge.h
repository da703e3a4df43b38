#pragma once

#include <cstdint>

// The page's side of the window system: functions of the page script (mtd-page.js), called
// from the program. Only platform/web includes this.
namespace mtd::page {

// --- Menu and keys ---
void defineMenu(const char* popupText);
void defineMenuItem(int commandId, const char* text, bool enabled);
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

// --- The end ---
void programEnded(int exitCode);

}  // namespace mtd::page
