#pragma once

#include <QString>

namespace quillora {

class DataFiles;

// How many connections of the program other rooms hold to the database of the files (the
// server's activity list, which shows every role the database name, process and application
// name of a connection). The files' own connections are not counted; when they are closed,
// one of its own is opened to ask. Throws DbError when the server cannot be asked.
int otherRoomConnections(DataFiles &files);

// At the end of a run on a server: marks this room's connections as leaving, so that a room
// closing at the same moment does not count them, then tells whether no other room is still
// connected, i.e. whether this room takes the day's backup. True also when the server cannot
// be asked: the dump that follows then says what is wrong.
bool isLastRoomLeaving(DataFiles &files);

// Why a restore must wait ("还有 N 个其他诊室的程序连接……请先让其他诊室退出程序", or that the
// server cannot be asked); empty when no other room is connected.
QString otherRoomsRefusal(DataFiles &files);

} // namespace quillora
