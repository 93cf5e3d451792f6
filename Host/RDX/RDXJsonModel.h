// Reading the tables of a model file (JSON). The file's "databases" member
// holds the tables; the element part of the same file is read elsewhere.
// The format is described in docs/model-format.md.
#pragma once

#include <filesystem>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "Host/RDX/RDXTable.h"

// Reads the "databases" member of a parsed model file. Files named by the
// model ("file") are read relative to baseDir. Validates the foreign keys.
// Raises ERDXModelError (naming table, row and field) for bad tables and
// ERDXError for an unreadable file.
Ref<TRDXModel> LoadRDXModel(const nlohmann::json& root, const std::filesystem::path& baseDir);
// Reads and parses the file, then as LoadRDXModel.
Ref<TRDXModel> LoadRDXModelFile(const std::filesystem::path& file);
// Reads a table file of its own ({"tables": [...]}, as a database of the
// model holds them) into a new database of that name. Its foreign keys may
// refer to tables of other databases: validate once it is part of a model
// (TRDXModel::AddDatabase, then Validate).
Ref<TRDXDatabase> LoadRDXDatabaseFile(const std::filesystem::path& file, std::string_view name);
// Reads a table file as LoadRDXDatabaseFile and puts it into the model at a
// position of its database list, in place of a database of the same name the
// model carries (a regional rule set chosen for a model). Validates the
// model's foreign keys afterwards; raises as LoadRDXDatabaseFile and
// ERDXModelError.
TRDXDatabase* AttachRDXDatabaseFile(TRDXModel& model, const std::filesystem::path& file, std::string_view name,
                                    int position);
