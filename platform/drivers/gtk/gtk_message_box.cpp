#include "drivers/gtk/gtk_message_box.h"

#include "plat/message_box.h"
#include "plat/text.h"

namespace plat::gtk {
namespace {

constexpr UINT kButtonsMask = 0xF;
constexpr UINT kIconMask = 0xF0;

GtkMessageType MessageTypeOf(UINT type) {
    switch (type & kIconMask) {
        case MB_ICONERROR:
            return GTK_MESSAGE_ERROR;
        case MB_ICONWARNING:
            return GTK_MESSAGE_WARNING;
        case MB_ICONINFORMATION:
            return GTK_MESSAGE_INFO;
        default:
            return GTK_MESSAGE_OTHER;
    }
}

GtkButtonsType ButtonsOf(UINT type) {
    switch (type & kButtonsMask) {
        case MB_OKCANCEL:
            return GTK_BUTTONS_OK_CANCEL;
        case MB_YESNO:
            return GTK_BUTTONS_YES_NO;
        default:
            return GTK_BUTTONS_OK;
    }
}

int AnswerOf(int response, UINT type) {
    switch (response) {
        case GTK_RESPONSE_OK:
            return IDOK;
        case GTK_RESPONSE_CANCEL:
            return IDCANCEL;
        case GTK_RESPONSE_YES:
            return IDYES;
        case GTK_RESPONSE_NO:
            return IDNO;
        default:
            break;
    }
    switch (type & kButtonsMask) {
        case MB_OKCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
    }
}

}  // namespace

int RunMessageBox(GtkWindow* parent, const std::wstring& text, const std::wstring& caption,
                  UINT type) {
    std::string message = WideToUtf8(text);
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, MessageTypeOf(type),
                                               ButtonsOf(type), "%s", message.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), WideToUtf8(caption).c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), parent == nullptr);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return AnswerOf(response, type);
}

}  // namespace plat::gtk
