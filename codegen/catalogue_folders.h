// What lets a program browse a catalogue as a tree of folders: the children
// of every folder, written as tables, and the functions that read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Returns the text with every NAME in it replaced by the catalogue's name.
std::string WithCatalogueName(std::string_view text, const std::string& name);

// Appends to a catalogue's header the range and child types and the
// declarations of name_under, name_list and name_is_folder.
void AppendCatalogueFolderDeclarations(std::string& header, const std::string& name);

// Appends the text that follows the catalogue's table `name` in its
// source: the children table, the folder table and the three functions.
// `paths` are the entries' keys in byte order, none twice.
void AppendCatalogueFolderText(std::string& text, const std::string& name, const std::vector<std::string_view>& paths);
