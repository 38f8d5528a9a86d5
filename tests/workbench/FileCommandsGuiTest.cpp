#include <cstring>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QToolButton>

#include "files/NetFile.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/Unit1Fixture.h"

namespace {

using FileCommands = Unit1Fixture;

const QString kRejected = QStringLiteral("Wrong file type OR run application as Administrator");

void expectSameNetwork(const TNeuroNet& a, const TNeuroNet& b)
{
    EXPECT_EQ(a.Inputs, b.Inputs);
    ASSERT_EQ(a.LayerCount(), b.LayerCount());
    for (int k = 1; k <= a.LayerCount(); ++k) {
        const TLayer& x = a.Layer(k);
        const TLayer& y = b.Layer(k);
        EXPECT_EQ(x.NeuronCount(), y.NeuronCount()) << k;
        EXPECT_EQ(x.InputCount(), y.InputCount()) << k;
        EXPECT_EQ(std::memcmp(&x.Params, &y.Params, offsetof(TLayerParams, Reserved)), 0) << k;
        EXPECT_EQ(x.Bias, y.Bias) << k;
        EXPECT_EQ(x.Weights, y.Weights) << k;
    }
}

std::unique_ptr<TNeuroNet> readBack(const QString& name)
{
    std::unique_ptr<TNeuroNet> net;
    EXPECT_TRUE(ReadNetFile(QFile::encodeName(name).toStdString(), net)) << name.toStdString();
    return net;
}

void writeBytes(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST_F(FileCommands, SaveOpenAndReloadRoundTrip)
{
    newNetwork(3);
    addLayer(2, 2);
    addLayer(1, 1);
    typeInputs({"0.5", "-1", "2"});
    const QString file = path("net.crv");

    // The first Save asks for a name, the second writes at once.
    script.answerFile(file);
    form->SaveNet1->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].fileName, "Untitled");
    EXPECT_EQ(script.filesShown[0].filter, "Corvalith File (*.crv)");
    EXPECT_EQ(script.filesShown[0].defaultExt, "crv");
    EXPECT_EQ(form->FileName, file);
    EXPECT_EQ(form->windowTitle(), " Corvalith - " + file);
    expectSameNetwork(*readBack(file), *form->Net);

    form->Net->Layer(1).Bias[0] = 42;
    form->SaveNet1->trigger();
    EXPECT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(readBack(file)->Layer(1).Bias[0], 42);

    // Reload discards the changes made since.
    auto saved = readBack(file);
    form->Net->Layer(1).Bias[0] = 7;
    form->Net->Evaluate();
    form->ToolButton10->click();
    expectSameNetwork(*form->Net, *saved);
    EXPECT_FALSE(form->Net->Evaluated);
    EXPECT_EQ(form->PaintBox1->LastBox, 3);

    // Open into a fresh window's network.
    newNetwork(1);
    EXPECT_FALSE(form->N3->isEnabled());
    script.answerFile(file);
    form->LoadNet1->trigger();
    EXPECT_EQ(script.filesShown.back().filter, "Corvalith File (*.crv);;All Files (*)");
    expectSameNetwork(*form->Net, *saved);
    EXPECT_TRUE(form->N3->isEnabled());
    EXPECT_EQ(form->FileName, file);
    EXPECT_EQ(form->windowTitle(), " Corvalith - " + file);
    EXPECT_TRUE(script.errors().empty());
}

TEST_F(FileCommands, SaveAsAlwaysAsksAndCancelChangesNothing)
{
    const QString first = path("first.crv");
    script.answerFile(first);
    form->SaveNetAs1->trigger();
    EXPECT_EQ(form->FileName, first);

    script.answerFile(QString());
    form->SaveNetAs1->trigger();
    EXPECT_EQ(script.filesShown.back().fileName, first) << "the dialog opens on the current name";
    EXPECT_EQ(form->FileName, first);
    EXPECT_EQ(form->windowTitle(), " Corvalith - " + first);
}

TEST_F(FileCommands, ReloadOfAnUntitledNetworkOpens)
{
    script.answerFile(QString());
    form->ToolButton10->click();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].filter, "Corvalith File (*.crv);;All Files (*)");
}

TEST_F(FileCommands, RejectedFilesChangeNothingAndSaveStillWritesTheOldFile)
{
    newNetwork(2);
    addLayer(2, 0);
    const QString good = path("good.crv");
    script.answerFile(good);
    form->SaveNetAs1->trigger();
    const TNeuroNet* net = form->Net.get();

    QByteArray dataset("NLD ");
    dataset.append(QByteArray(40, '\1'));
    QByteArray version3("Corvalith File  ");
    version3.append(QByteArray("\3\0\0\0\1\0\0\0", 8)).append(QByteArray(12, '\0'));
    writeBytes(path("patterns.nld"), dataset);
    writeBytes(path("garbage.crv"), QByteArray("not a network at all"));
    writeBytes(path("future.crv"), version3);
    writeBytes(path("empty.crv"), QByteArray());

    for (const char* name : {"patterns.nld", "garbage.crv", "future.crv", "empty.crv", "missing.crv"}) {
        script.answerFile(path(name));
        form->LoadNet1->trigger();
        ASSERT_FALSE(script.errors().empty()) << name;
        EXPECT_EQ(script.errors().back(), kRejected) << name;
        EXPECT_EQ(form->Net.get(), net) << name;
        EXPECT_EQ(form->FileName, good) << name;
        EXPECT_EQ(form->windowTitle(), " Corvalith - " + good) << name;
    }
    EXPECT_EQ(script.errors().size(), 5u);

    form->Net->Layer(1).Bias[1] = 0.5;
    form->SaveNet1->trigger();
    EXPECT_EQ(readBack(good)->Layer(1).Bias[1], 0.5);
    EXPECT_EQ(QFileInfo(path("patterns.nld")).size(), dataset.size()) << "the rejected file is never written";
}

TEST_F(FileCommands, RejectedFileOnAnUntitledNetworkLeavesSaveAsking)
{
    writeBytes(path("patterns.nld"), QByteArray("NLD \2\0\0\0", 8));
    script.answerFile(path("patterns.nld"));
    form->LoadNet1->trigger();
    EXPECT_EQ(script.errors(), std::vector<QString>{kRejected});

    script.answerFile(QString());
    form->SaveNet1->trigger();
    ASSERT_EQ(script.filesShown.size(), 2u);
    EXPECT_EQ(script.filesShown[1].fileName, "Untitled");
}

TEST_F(FileCommands, FailedSaveIsReportedAndKeepsTheName)
{
    // A directory cannot be written as a file.
    script.answerFile(dir.path());
    form->SaveNetAs1->trigger();
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_FALSE(script.errors()[0].isEmpty());
    EXPECT_EQ(form->FileName, "Untitled");
    EXPECT_EQ(form->windowTitle(), " Corvalith");

    const QString good = path("good.crv");
    script.answerFile(good);
    form->SaveNetAs1->trigger();
    script.answerFile(path("no/such/folder/net.crv"));
    form->SaveNetAs1->trigger();
    EXPECT_EQ(script.errors().size(), 2u);
    EXPECT_EQ(form->FileName, good);
    EXPECT_EQ(form->windowTitle(), " Corvalith - " + good);
}

TEST_F(FileCommands, OpeningANetworkWithoutLayersKeepsLayerParametersEnabled)
{
    const QString bare = path("bare.crv");
    script.answerFile(bare);
    form->SaveNetAs1->trigger();

    addLayer(1, 0);
    ASSERT_TRUE(form->N3->isEnabled());
    script.answerFile(bare);
    form->LoadNet1->trigger();
    EXPECT_EQ(form->Net->LayerCount(), 0);
    EXPECT_TRUE(form->N3->isEnabled()) << "opening never disables it";
}

}  // namespace

namespace {

TEST_F(FileCommands, ExportAsCWritesTheHeaderNamedAfterTheFile)
{
    newNetwork(2);
    addLayer(3, 1);
    addLayer(1, 0);
    form->Net->Evaluate();
    const std::vector<double> outputs = form->Net->Outputs;

    // An untitled network is offered as Untitled.h; the C names follow the chosen file.
    const QString header = path("my net.h");
    script.answerFile(header);
    form->ExportAsC1->trigger();
    ASSERT_EQ(script.filesShown.size(), 1u);
    EXPECT_EQ(script.filesShown[0].fileName, "Untitled.h");
    EXPECT_EQ(script.filesShown[0].filter, "C Header (*.h);;All Files (*)");
    EXPECT_EQ(script.filesShown[0].defaultExt, "h");
    EXPECT_TRUE(script.filesShown[0].confirmOverwrite);
    QFile written(header);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("static inline int my_net_evaluate(const double *inputs, double *outputs)"));
    EXPECT_TRUE(form->Net->Evaluated);
    EXPECT_EQ(form->Net->Outputs, outputs);

    // A saved network is offered under its own name; a failed write says why.
    const QString saved = path("xor.crv");
    script.answerFile(saved);
    form->SaveNetAs1->trigger();
    script.answerFile(path("missing/xor.h"));
    form->ExportAsC1->trigger();
    EXPECT_EQ(script.filesShown.back().fileName, path("xor.h"));
    ASSERT_EQ(script.errors().size(), 1u);
    EXPECT_TRUE(script.errors()[0].startsWith("Cannot create file")) << script.errors()[0].toStdString();

    script.answerFile(QString());
    form->ExportAsC1->trigger();
    EXPECT_EQ(script.errors().size(), 1u);
}

}  // namespace
