#include "drivers/gtk/gtk_folder_picker.h"

#include "plat/text.h"

namespace plat::gtk {

std::optional<std::filesystem::path> RunFolderPicker(GtkWindow* parent, const std::wstring& title) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(title.empty() ? nullptr : WideToUtf8(title).c_str(), parent,
                                    GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), parent == nullptr);
    std::optional<std::filesystem::path> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* folder = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog))) {
            chosen = std::filesystem::path(folder);
            g_free(folder);
        }
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace plat::gtk
