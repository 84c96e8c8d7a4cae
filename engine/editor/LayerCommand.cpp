#include <fmt/format.h>

#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/SymbolTable.h"
#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/Wildcard.h"

namespace cad {

namespace {

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto first = name.find_first_not_of(" \t");
        auto last = name.find_last_not_of(" \t");
        if (first != std::string::npos) names.push_back(name.substr(first, last - first + 1));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return names;
}

std::string layerName(Database& db, ObjectId id) {
    auto layer = db.open<LayerTableRecord>(id);
    return layer ? layer->name() : "";
}

void listLayers(Database& db) {
    auto table = db.open<SymbolTable>(db.layerTableId());
    if (!table) return;
    print("Current layer: \"" + layerName(db, db.clayer()) + "\"\n");
    for (ObjectId id : table->liveRecordIds()) {
        auto layer = db.open<LayerTableRecord>(id);
        if (!layer) continue;
        print(fmt::format("  {:<24} {:<4} {:<7} {:<9} color {}\n", layer->name(), layer->isOff() ? "off" : "on",
                          layer->isFrozen() ? "frozen" : "thawed", layer->isLocked() ? "locked" : "unlocked",
                          layer->color().colorIndex()));
    }
}

void newLayers(HostApplication& host, Database& db) {
    std::string list;
    if (host.editor().getString(true, "Enter name list for new layer(s): ", list) != RTNORM) return;
    auto table = db.open<SymbolTable>(db.layerTableId(), OpenMode::ForWrite);
    if (!table) return;
    for (const std::string& name : splitNames(list)) {
        ErrorStatus es = table->add(std::make_unique<LayerTableRecord>(name));
        if (es == ErrorStatus::eDuplicateRecordName) {
            print("Layer \"" + name + "\" already exists.\n");
        } else if (es != ErrorStatus::eOk) {
            print("\"" + name + "\" is not a valid layer name (" + statusText(es) + ").\n");
        }
    }
}

void setCurrent(HostApplication& host, Database& db) {
    std::string name;
    if (host.editor().getString(true, "Enter layer name to make current: ", name) != RTNORM || name.empty()) return;
    ObjectId id = db.recordId(TableKind::Layer, name);
    auto layer = db.open<LayerTableRecord>(id);
    if (!layer) {
        print("Layer \"" + name + "\" not found.\n");
    } else if (layer->isFrozen()) {
        print("Cannot make the frozen layer \"" + layer->name() + "\" current.\n");
    } else {
        layer.close();
        db.setClayer(id);
    }
}

void changeLayers(HostApplication& host, Database& db, const std::string& option) {
    std::string verb = option == "ON"       ? "turn on"
                       : option == "OFF"    ? "turn off"
                       : option == "Freeze" ? "freeze"
                       : option == "Thaw"   ? "thaw"
                       : option == "LOck"   ? "lock"
                                            : "unlock";
    std::string patterns;
    if (host.editor().getString(true, "Enter name list of layer(s) to " + verb + ": ", patterns) != RTNORM ||
        patterns.empty())
        return;
    auto table = db.open<SymbolTable>(db.layerTableId());
    if (!table) return;
    int matched = 0;
    for (ObjectId id : table->liveRecordIds()) {
        auto layer = db.open<LayerTableRecord>(id, OpenMode::ForWrite);
        if (!layer || !wildcardMatch(layer->name(), patterns, true)) continue;
        ++matched;
        if (option == "Freeze" && id == db.clayer()) {
            print("Cannot freeze the current layer \"" + layer->name() + "\".\n");
        } else if (option == "ON" || option == "OFF") {
            layer->setOff(option == "OFF");
        } else if (option == "Freeze" || option == "Thaw") {
            layer->setFrozen(option == "Freeze");
        } else {
            layer->setLocked(option == "LOck");
        }
    }
    if (matched == 0) print("No layer matches \"" + patterns + "\".\n");
}

void layer(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    while (true) {
        std::string option;
        if (host.editor().getKeyword("Enter an option [?/New/Set/ON/OFF/Freeze/Thaw/LOck/Unlock]: ",
                                     "? New Set ON OFF Freeze Thaw LOck Unlock", option) != RTNORM)
            return;
        if (option == "?") {
            listLayers(*db);
        } else if (option == "New") {
            newLayers(host, *db);
        } else if (option == "Set") {
            setCurrent(host, *db);
        } else {
            changeLayers(host, *db, option);
        }
    }
}

}  // namespace

void registerLayerCommand(HostApplication& host) {
    host.commandStack().addCommand(std::string(CommandStack::kHostGroup), "LAYER", "LAYER", ACRX_CMD_MODAL,
                                   [&host] { layer(host); });
}

}  // namespace cad
