namespace kv::workflow {}
