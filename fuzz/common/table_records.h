// The records a game server sends a client (types 1..41) and the records a client sends the
// server, field by field with their declared ranges, read from fuzz input and written back
// as fuzz input by the seed tool.
//
// A record is a type byte and then its fields (record_fields.h). Type bytes 1..41 (to a
// client) or the client codes name themselves; other bytes below 0xF0 pick one of the types
// that are handled, so mutations mostly land on a record that does something; from 0xF0 on a
// raw 16-bit code follows (unknown types, a high byte set).
#pragma once

#include <cstdint>

#include "byte_stream.h"
#include "protocol/record.h"
#include "record_fields.h"

namespace tallow::fuzz {

// A record to a client; bytes 260..261 carry `token`.
protocol::Record ReadServerRecord(ByteReader& in, std::uint16_t token);
// The input bytes ReadServerRecord turns into `rec` (with the record's own token); false when
// the record holds bytes outside its fields, which the raw-record form must carry then.
bool WriteServerRecord(ByteWriter& out, const protocol::Record& rec);

// A record to the server. Its token is a field of its own.
protocol::Record ReadClientRecord(ByteReader& in, const LiveValues* live = nullptr);
bool WriteClientRecord(ByteWriter& out, const protocol::Record& rec);

}  // namespace tallow::fuzz
