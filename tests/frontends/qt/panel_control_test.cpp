// The window's control socket shares the panel with a person and with a play: a person's OFF
// does not strand a request, and a play and a program never drive the panel together.
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <string>

#include "control/json.h"
#include "front_panel_fixture.h"
#include "qt/panel_control.h"
#include "qt/panel_playback.h"

using namespace txm9;

namespace {

// A client of the socket in this process: its replies arrive as the window's events run.
class Client {
public:
    explicit Client(const QString& path) {
        socket_.connectToServer(path);
        EXPECT_TRUE(next_line(nullptr)) << "no greeting";
    }
    void send(const std::string& line) {
        socket_.write((line + "\n").c_str());
        socket_.flush();
    }
    // The reply carrying `id`, within `ms` of the window's events.
    json_value reply(int64_t id, int ms = 5000) {
        json_value v;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms) {
            if (next_line(&v) && v.find("id") != nullptr && v.find("id")->as_integer() == id) {
                return v;
            }
        }
        ADD_FAILURE() << "no reply to request " << id;
        return json_value::object();
    }

private:
    bool next_line(json_value* v) {
        if (!socket_.canReadLine() && !QTest::qWaitFor([&] { return socket_.canReadLine(); })) {
            return false;
        }
        json_value line;
        std::string error;
        return parse_json(socket_.readLine().trimmed().toStdString(), v ? *v : line, error);
    }
    QLocalSocket socket_;
};

std::string error_class(const json_value& reply) {
    const json_value* e = reply.find("error");
    return e != nullptr ? e->find("class")->text() : "";
}

class PanelControlTest : public FrontPanel {
protected:
    void SetUp() override {
        FrontPanel::SetUp();
        control = new PanelControl(*form);
        QString problem;
        ASSERT_TRUE(control->listen(folder.filePath(QStringLiteral("txm9.sock")), problem))
            << problem.toStdString();
    }
    QString socket() const { return folder.filePath(QStringLiteral("txm9.sock")); }
    QTemporaryDir folder;
    PanelControl* control = nullptr;
};

} // namespace

TEST_F(PanelControlTest, APersonsOffLetsAWaitGoOnWhileOff) {
    Client client(socket());
    RunDriver driver(form.get());
    driver.between(100, [&] { client.send(R"({"id":1,"do":"wait 500 ms"})"); });
    driver.between(104, [&] { form->Button2Click(); });
    driver.click_on();
    ASSERT_EQ(form->runs(), 0);
    const json_value done = client.reply(1);
    EXPECT_NE(done.find("return"), nullptr) << write_json(done);
}

TEST_F(PanelControlTest, APlayAndAProgramNeverDriveThePanelTogether) {
    const QString path = folder.filePath(QStringLiteral("long.scenario"));
    std::ofstream(path.toStdString()) << "wait 30 s\n"; // a play that waits while off
    {
        Client client(socket());
        EXPECT_FALSE(form->playback().play(path, false, false));
        EXPECT_TRUE(form->StatusBar1->currentMessage().contains(QStringLiteral("control socket")));
    }
    QTest::qWait(50); // the client's end reaches the window
    ASSERT_TRUE(form->playback().play(path, false, false));
    Client client(socket());
    client.send(R"({"id":2,"do":"press knob"})");
    EXPECT_EQ(error_class(client.reply(2)), "busy");
    client.send(R"({"id":3,"query":"screen"})");
    EXPECT_NE(client.reply(3).find("return"), nullptr);
    form->playback().stop(QString());
}
