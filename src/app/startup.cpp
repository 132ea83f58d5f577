#include "app/startup.h"

#include "app/instance_lock.h"
#include "data/data_files.h"
#include "data/password_store.h"
#include "data/pg_connection.h"

namespace quillora {

StartupState startUp(DataFiles &files, InstanceLock &lock)
{
    StartupState state;
    if (!lock.isHeld() && !lock.acquire()) {
        state.inUse = true;
        state.problem = QStringLiteral("数据文件夹正被另一个 Quillora 程序使用。");
        return state;
    }
    try {
        state.created = files.createMissing();
        files.open();
        state.opened = true;
    } catch (const PasswordNeeded &e) {
        state.needsServerPassword = true;
        state.problem = e.message();
        return state;
    } catch (const DbError &e) {
        state.problem = e.message();
        return state;
    }
    state.password = PasswordStore(files.archive()).read();
    if (!state.password)
        state.problem = QStringLiteral("档案数据库中的登录密码无法读取。");
    return state;
}

} // namespace quillora
