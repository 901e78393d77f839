// What a feature folder keeps with the main form: one object of each type,
// made on its first use and gone with the form. engine/ never names the
// types; each folder reaches its own through a function of its own header.
#pragma once
#include <memory>
#include <typeindex>
#include <unordered_map>

class FeatureParts {
public:
    template <class T> T& Get() const {
        std::unique_ptr<Part>& p = parts[std::type_index(typeid(T))];
        if (!p) p = std::make_unique<Held<T>>();
        return static_cast<Held<T>&>(*p).value;
    }

private:
    struct Part {
        virtual ~Part() = default;
    };
    template <class T> struct Held : Part {
        T value;
    };
    // Made on first use, also through a const form: the part is the feature's, not the form's.
    mutable std::unordered_map<std::type_index, std::unique_ptr<Part>> parts;
};

class TOpen;
// The parts of the main form o.
FeatureParts& PartsOf(TOpen& o);
const FeatureParts& PartsOf(const TOpen& o);
