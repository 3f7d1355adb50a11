#include "app/window_title.h"

std::string WindowTitle(std::string_view documentTitle, std::string_view connection) {
    std::string title;
    title.reserve(documentTitle.size() + kAppName.size() + connection.size() + 6);
    title.append(documentTitle).append(" - ").append(kAppName).append(" - ").append(connection);
    return title;
}
