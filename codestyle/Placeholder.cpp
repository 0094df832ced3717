// Placeholder: the folder's library needs one source.
namespace kv::codestyle {}
