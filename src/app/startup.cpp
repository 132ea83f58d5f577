#include "app/startup.h"

#include "data/data_files.h"
#include "data/password_store.h"

namespace quillora {

StartupState startUp(DataFiles &files)
{
    StartupState state;
    try {
        state.created = files.createMissing();
        files.open();
        state.opened = true;
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
