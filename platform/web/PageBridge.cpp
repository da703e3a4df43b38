#include "platform/web/PageBridge.h"

#include <emscripten.h>

// Each function hands over to window.mtdPage, defined by mtd-page.js before the program loads.
// Strings cross as UTF-8 pointers into the program's memory.

EM_JS(void, mtd_js_define_menu, (const char* popup), { mtdPage.defineMenu(UTF8ToString(popup)); });
EM_JS(void, mtd_js_define_menu_item, (int id, const char* text, int enabled, int kind),
      { mtdPage.defineMenuItem(id, UTF8ToString(text), enabled != 0, kind); });
EM_JS(void, mtd_js_define_accelerator, (const char* key, int id),
      { mtdPage.defineAccelerator(UTF8ToString(key), id); });
EM_JS(void, mtd_js_set_enabled, (int id, int enabled), { mtdPage.setEnabled(id, enabled != 0); });
EM_JS(void, mtd_js_set_checked, (int id, int checked), { mtdPage.setChecked(id, checked != 0); });
EM_JS(void, mtd_js_set_caption, (const char* text), { mtdPage.setCaption(UTF8ToString(text)); });
EM_JS(int, mtd_js_take_message, (), { return mtdPage.takeMessage(); });
EM_JS(int, mtd_js_message_queued, (), { return mtdPage.messageQueued() ? 1 : 0; });
EM_ASYNC_JS(void, mtd_js_yield_turn, (), { await mtdPage.yieldTurn(); });
EM_ASYNC_JS(void, mtd_js_wait_for_message, (double ms), { await mtdPage.waitForMessage(ms); });
EM_JS(int, mtd_js_canvas_width, (), { return mtdPage.canvasWidth(); });
EM_JS(int, mtd_js_canvas_height, (), { return mtdPage.canvasHeight(); });
EM_JS(int, mtd_js_create_buffer, (int w, int h), { return mtdPage.createBuffer(w, h); });
EM_JS(void, mtd_js_delete_buffer, (int s), { mtdPage.deleteBuffer(s); });
EM_JS(void, mtd_js_fill_rect, (int s, int x, int y, int w, int h, unsigned rgb),
      { mtdPage.fillRect(s, x, y, w, h, rgb); });
EM_JS(void, mtd_js_set_font, (int s, int cell, int weight, const char* face),
      { mtdPage.setFont(s, cell, weight, UTF8ToString(face)); });
EM_JS(int, mtd_js_text_width, (int s, const char* text),
      { return mtdPage.textWidth(s, UTF8ToString(text)); });
EM_JS(void, mtd_js_fill_text, (int s, int x, int y, const char* text, unsigned rgb),
      { mtdPage.fillText(s, x, y, UTF8ToString(text), rgb); });
EM_JS(void, mtd_js_copy_surface, (int t, int s, int w, int h),
      { mtdPage.copySurface(t, s, w, h); });
EM_JS(void, mtd_js_record_text, (int x, int y, const char* text),
      { mtdPage.recordText(x, y, UTF8ToString(text)); });
EM_JS(void, mtd_js_define_legend_group, (const char* title),
      { mtdPage.defineLegendGroup(UTF8ToString(title)); });
EM_JS(void, mtd_js_define_legend_entry, (unsigned rgb, const char* meaning),
      { mtdPage.defineLegendEntry(rgb, UTF8ToString(meaning)); });
EM_JS(int, mtd_js_legend_canvas, (int w, int h), { return mtdPage.legendCanvas(w, h); });
EM_JS(void, mtd_js_show_legend, (), { mtdPage.showLegend(); });
EM_ASYNC_JS(void, mtd_js_show_message, (const char* title, const char* text),
            { await mtdPage.showMessage(UTF8ToString(title), UTF8ToString(text)); });
EM_JS(void, mtd_js_set_settings_field, (int field, const char* label, const char* text),
      { mtdPage.setSettingsField(field, UTF8ToString(label), UTF8ToString(text)); });
EM_JS(void, mtd_js_define_settings_preset, (int preset, const char* name, const char* fields),
      { mtdPage.defineSettingsPreset(preset, UTF8ToString(name), UTF8ToString(fields)); });
EM_JS(void, mtd_js_select_settings_preset, (int preset), { mtdPage.selectSettingsPreset(preset); });
EM_ASYNC_JS(int, mtd_js_await_settings, (), { return (await mtdPage.awaitSettings()) ? 1 : 0; });
EM_JS(int, mtd_js_settings_field_bytes, (int field),
      { return lengthBytesUTF8(mtdPage.settingsFieldText(field)); });
EM_JS(void, mtd_js_copy_settings_field, (int field, char* buffer, int size),
      { stringToUTF8(mtdPage.settingsFieldText(field), buffer, size); });
EM_JS(void, mtd_js_refuse_settings, (int field, const char* message),
      { mtdPage.refuseSettings(field, UTF8ToString(message)); });
EM_JS(void, mtd_js_close_settings, (int accepted), { mtdPage.closeSettings(accepted != 0); });
EM_JS(void, mtd_js_program_ended, (int code), { mtdPage.programEnded(code); });

namespace mtd::page {

void defineMenu(const char* popupText) { mtd_js_define_menu(popupText); }
void defineMenuItem(int commandId, const char* text, bool enabled, ItemKind kind) {
  mtd_js_define_menu_item(commandId, text, enabled ? 1 : 0, static_cast<int>(kind));
}
void defineAccelerator(const char* domKey, int commandId) {
  mtd_js_define_accelerator(domKey, commandId);
}
void setItemEnabled(int commandId, bool enabled) { mtd_js_set_enabled(commandId, enabled); }
void setItemChecked(int commandId, bool checked) { mtd_js_set_checked(commandId, checked); }
void setCaption(const char* utf8Text) { mtd_js_set_caption(utf8Text); }
int takeMessage() { return mtd_js_take_message(); }
bool messageQueued() { return mtd_js_message_queued() != 0; }
void yieldTurn() { mtd_js_yield_turn(); }
void waitForMessage(double milliseconds) { mtd_js_wait_for_message(milliseconds); }
int canvasWidth() { return mtd_js_canvas_width(); }
int canvasHeight() { return mtd_js_canvas_height(); }
int createBuffer(int width, int height) { return mtd_js_create_buffer(width, height); }
void deleteBuffer(int surface) { mtd_js_delete_buffer(surface); }
void fillRect(int surface, int x, int y, int width, int height, std::uint32_t rgb) {
  mtd_js_fill_rect(surface, x, y, width, height, rgb);
}
void setFont(int surface, int cellHeight, int weight, const char* face) {
  mtd_js_set_font(surface, cellHeight, weight, face);
}
int textWidth(int surface, const char* text) { return mtd_js_text_width(surface, text); }
void fillText(int surface, int x, int y, const char* text, std::uint32_t rgb) {
  mtd_js_fill_text(surface, x, y, text, rgb);
}
void copySurface(int target, int source, int width, int height) {
  mtd_js_copy_surface(target, source, width, height);
}
void recordText(int x, int y, const char* text) { mtd_js_record_text(x, y, text); }
void defineLegendGroup(const char* title) { mtd_js_define_legend_group(title); }
void defineLegendEntry(std::uint32_t rgb, const char* meaning) {
  mtd_js_define_legend_entry(rgb, meaning);
}
int legendCanvas(int width, int height) { return mtd_js_legend_canvas(width, height); }
void showLegend() { mtd_js_show_legend(); }
void showMessage(const char* title, const char* text) { mtd_js_show_message(title, text); }
void setSettingsField(int field, const char* label, const char* text) {
  mtd_js_set_settings_field(field, label, text);
}
void defineSettingsPreset(int preset, const char* name, const char* codeFieldsText) {
  mtd_js_define_settings_preset(preset, name, codeFieldsText);
}
void selectSettingsPreset(int preset) { mtd_js_select_settings_preset(preset); }
bool awaitSettings() { return mtd_js_await_settings() != 0; }
std::string settingsFieldText(int field) {
  // The program's memory holds the copy: its length first, then the text and a terminator.
  const int bytes = mtd_js_settings_field_bytes(field);
  std::string text(static_cast<std::size_t>(bytes) + 1, '\0');
  mtd_js_copy_settings_field(field, text.data(), bytes + 1);
  text.resize(static_cast<std::size_t>(bytes));
  return text;
}
void refuseSettings(int field, const char* message) { mtd_js_refuse_settings(field, message); }
void closeSettings(bool accepted) { mtd_js_close_settings(accepted ? 1 : 0); }
void programEnded(int exitCode) { mtd_js_program_ended(exitCode); }

}  // namespace mtd::page
