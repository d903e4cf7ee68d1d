#pragma once

#include <cstdint>
#include <string>

namespace tagwell {

enum OPCNamespaceType : int32_t { OPCHierarchical = 1, OPCFlat = 2 };
enum OPCAccessRights : int32_t { OPCAnyAccess = 0, OPCReadable = 1, OPCWritable = 2 };

// A walk through a server's address space. The browser keeps its position,
// its filters and the names of its last listing; Item(i) reads that listing
// from 1 to Count.
//
// Filter is a name pattern ("*" any run of characters, "?" one character,
// empty for all); DataType a type code (0 any); AccessRights 0 any, or the
// bits an item must have (1 readable, 2 writable).
class OPCBrowser {
public:
    virtual ~OPCBrowser() = default;

    virtual int32_t Organization() = 0;
    virtual std::string Filter() = 0;
    virtual void SetFilter(const std::string& pattern) = 0;
    virtual int16_t DataType() = 0;
    virtual void SetDataType(int16_t type) = 0;
    virtual int32_t AccessRights() = 0;
    virtual void SetAccessRights(int32_t rights) = 0;
    virtual std::string CurrentPosition() = 0;

    virtual int32_t Count() = 0;
    virtual std::string Item(int32_t index) = 0;
    virtual void ShowBranches() = 0;
    // Leaves at the current position; with Flat, every leaf below it too.
    virtual void ShowLeafs(bool Flat = false) = 0;
    virtual void MoveUp() = 0;
    virtual void MoveToRoot() = 0;
    virtual void MoveDown(const std::string& Branch) = 0;
    // The fully qualified item ID of a leaf at the current position.
    virtual std::string GetItemID(const std::string& Leaf) = 0;
};

}  // namespace tagwell
