// The process-wide registry of classes that layouts may name: RegisterClass / FindClass /
// GetClass, with class groups. A class is registered into the group whose group class it
// descends from (the most derived such group), or into the base group; lookups search the
// active groups. Registration happens from explicit module start-up functions.
#pragma once

#include <initializer_list>
#include <string_view>

// The platform header's RegisterClass macro would rename these functions.
#ifdef RegisterClass
#undef RegisterClass
#endif

class TClassInfo;

// Registers a class under its name. Registering the same class again does nothing;
// another class of the same name raises EFilerError "A class named %s already exists".
void RegisterClass(const TClassInfo& cls);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
// Registers under another name (for renamed classes in older layouts).
void RegisterClassAlias(const TClassInfo& cls, std::string_view alias);
void UnRegisterClass(const TClassInfo& cls);
void UnRegisterClasses(std::initializer_list<const TClassInfo*> classes);
// The registered class of that name (case-insensitive) in an active group, or null.
const TClassInfo* GetClass(std::string_view name);
// As GetClass; EClassNotFound "Class %s not found" when there is none.
const TClassInfo& FindClass(std::string_view name);

// Class groups. StartClassGroup makes a group for a class (and its descendants) unless one
// exists; GroupDescendentsWith puts a class's descendants into the group of `groupClass`;
// ActivateClassGroup makes that group active (lookups search it, then the base group) and
// answers the group class that was active before.
void StartClassGroup(const TClassInfo& groupClass);
void GroupDescendentsWith(const TClassInfo& cls, const TClassInfo& groupClass);
const TClassInfo* ActivateClassGroup(const TClassInfo& groupClass);
// The group class a class belongs to (the base group answers TPersistent).
const TClassInfo& ClassGroupOf(const TClassInfo& cls);
