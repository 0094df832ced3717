namespace kv::encoder {}
