#pragma once
// A panel with a title, a list of lines to choose from (one highlighted) and a footer that
// says which keys do what: the shape of the pause panel and the options screen.

#include <string>
#include <vector>

class Gui;

struct ListPanel {
    std::string title;
    std::vector<std::string> items;
    int cursor = 0;
    std::vector<std::string> footer;   // key help, first line brightest
};

void drawListPanel(Gui& gui, const ListPanel& panel);
